#pragma once

#include <sys/types.h>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "menubar/media_control_action.h"
#include "platform/base/property_value.h"
#include "platform/desktop/audio_hardware.h"
#include "platform/desktop/now_playing_service.h"
#include "platform/gfx/image.h"

namespace tallowmere {

namespace platform {
class RunningApplication;
class SerialQueue;
class Timer;
}  // namespace platform

// Which player the person listens to, whether it plays and with which icon,
// and the previous / play-pause / next commands sent to it. Three sources
// meet here: the system's now-playing framework (found by path, each
// function looked up by name and used only when present), the audio
// processes producing sound (system 14.2 on) and plain facts about the front
// and running applications. One per process (`shared()`); idle until
// monitoring is switched on. Main thread only: the audio listeners only hop
// to the main queue.
class MediaControlController : public std::enable_shared_from_this<MediaControlController> {
public:
    static constexpr double pollInterval = 0.25;
    // A play-pause click's state holds this long against reports.
    static constexpr double optimisticHold = 1.5;
    static constexpr std::array<std::string_view, 10> knownPlayerBundleIdentifiers{
        "com.netease.163music", "com.tencent.QQMusicMac",     "com.spotify.client", "com.apple.Music",
        "com.kugou.mac",        "com.luna.music",             "com.bytedance.qishui.music",
        "com.colliderli.iina",  "org.videolan.vlc",           "com.apple.QuickTimePlayerX",
    };

    static MediaControlController& shared();

    MediaControlController();
    ~MediaControlController();
    MediaControlController(const MediaControlController&) = delete;
    MediaControlController& operator=(const MediaControlController&) = delete;

    // Fires, on the main thread, whenever the shown state may have changed.
    std::function<void(bool isPlaying, std::optional<platform::Image> playerIcon)> onStateChanged;

    // True while the shown player application still runs.
    bool hasCurrentPlayer() const;
    // Sends a command to the player, or opens the preferred one.
    void perform(MediaControlAction action);
    // On: poll every 0.25 s and, from 14.2 on, listen to the audio processes.
    void setMonitoringEnabled(bool enabled);
    bool isMonitoringEnabled() const { return monitorTimer_ != nullptr; }

    bool currentIsPlaying() const { return currentIsPlaying_; }
    const std::optional<std::string>& currentPlayerBundleIdentifier() const { return currentPlayerBundleIdentifier_; }
    const std::optional<std::string>& activeAudioPlayerBundleIdentifier() const {
        return activeAudioPlayerBundleIdentifier_;
    }
    const std::optional<std::string>& mediaRemotePlayerBundleIdentifier() const {
        return mediaRemotePlayerBundleIdentifier_;
    }
    std::size_t audioOutputListenerCount() const { return audioOutputListeners_.size(); }
    bool hasAudioProcessListListener() const { return audioProcessListListener_ != nullptr; }

    // The bundled picture of a known player, if there is one.
    static std::optional<platform::Image> bundledPlayerIcon(std::string_view bundleIdentifier);

private:
    // The framework's functions, each empty when the framework lacks it.
    struct NowPlayingFunctions {
        std::function<void(int command)> sendCommand;
        std::function<void(std::function<void(int)>)> getNowPlayingApplicationPID;
        std::function<void(std::function<void(std::optional<platform::PropertyValue>)>)> getNowPlayingInfo;
        std::function<void(std::function<void(bool)>)> getNowPlayingApplicationIsPlaying;
        std::function<void(std::function<void(std::optional<platform::NowPlayingClient>)>)> getNowPlayingClient;
        std::function<std::optional<std::string>(const platform::NowPlayingClient&)> getClientBundleIdentifier;
        std::function<std::optional<std::string>(const platform::NowPlayingClient&)> getClientParentBundleIdentifier;
    };
    static NowPlayingFunctions bindNowPlayingFunctions();

    void openPreferredPlayer();
    void refreshState();
    void refreshActiveAudioApplication();
    bool acceptsReportedPlayer(const std::string& bundleIdentifier);
    void setCurrentPlayer(const std::string& bundleIdentifier, const platform::Image& icon);
    void applyReportedPlaybackState(bool playing);
    void startAudioOutputMonitoring();
    void stopAudioOutputMonitoring();
    void refreshAudioProcessListeners();
    std::vector<platform::AudioObjectID> audioProcessObjectIDs() const;
    std::shared_ptr<platform::RunningApplication> mediaApplication(pid_t pid) const;
    bool isUsableMediaBundleIdentifier(const std::string& bundleIdentifier) const;
    bool isSupportedMediaBundleIdentifier(const std::string& bundleIdentifier) const;
    std::optional<platform::Image> icon(const std::string& bundleIdentifier) const;
    bool hasAudioProcesses() const;
    double uptime() const;
    void notifyStateChanged();
    // A listener that reaches this controller on the main queue while it lives.
    platform::AudioHardware::Listener mainQueueListener(void (MediaControlController::*method)());

    NowPlayingFunctions functions_;
    std::shared_ptr<platform::Timer> monitorTimer_;
    std::optional<platform::Image> currentPlayerIcon_;
    std::optional<std::string> currentPlayerBundleIdentifier_;
    std::optional<std::string> lastKnownPlayerBundleIdentifier_;
    std::optional<std::string> preferredPlayerBundleIdentifier_;
    std::optional<std::string> activeAudioPlayerBundleIdentifier_;
    std::optional<std::string> mediaRemotePlayerBundleIdentifier_;
    bool currentIsPlaying_ = false;
    double optimisticStateUntil_ = 0;
    std::unique_ptr<platform::SerialQueue> audioHardwareQueue_;
    platform::AudioHardware::Listener audioProcessListListener_;
    std::map<platform::AudioObjectID, platform::AudioHardware::Listener> audioOutputListeners_;
};

}  // namespace tallowmere
