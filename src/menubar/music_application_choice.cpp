#include "menubar/music_application_choice.h"

namespace tallowmere {

const std::vector<MusicApplicationChoice>& musicApplicationChoices() {
    static const std::vector<MusicApplicationChoice> choices{
        {"网易云音乐", {"com.netease.163music"}, {"网易云音乐", "NeteaseMusic", "NetEase Music"}},
        {"QQ音乐", {"com.tencent.QQMusicMac"}, {"QQ音乐", "QQMusic"}},
        {"酷狗音乐", {"com.kugou.mac", "com.kugou.macmusic", "com.kugou.KugouMusic"}, {"酷狗音乐", "KugouMusic", "Kugou Music"}},
        {"酷我音乐", {"cn.kuwo.KuWoMusic", "com.kuwo.KuwoMusic", "com.kuwo.music"}, {"酷我音乐", "KuwoMusic", "KuWo Music"}},
        {"Apple Music", {"com.apple.Music"}, {"Music", "音乐"}},
        {"Spotify", {"com.spotify.client"}, {"Spotify"}},
        {"虾米音乐（仅缅怀）", {}, {}, true},
        {"千千静听（仅缅怀）", {}, {}, true},
    };
    return choices;
}

}  // namespace tallowmere
