#pragma once

#include <array>
#include <string_view>

namespace tallowmere {

// The web addresses the status menu opens, with the titles and bundle icons
// of their items. Configuration: kept here and nowhere else.
struct AINavigationService {
    std::string_view chineseTitle;
    std::string_view englishTitle;
    std::string_view address;
    std::string_view iconResource;
    std::string_view iconType;
};

// Index = the menu item's tag.
inline constexpr std::array<AINavigationService, 6> aiNavigationServices = {{
    {"Gemini", "Gemini", "https://gemini.google.com/", "AIGemini", "png"},
    {"千问", "Qwen", "https://www.qianwen.com/", "AIQianwen", "png"},
    {"豆包", "Doubao", "https://www.doubao.com/chat/", "AIDoubao", "png"},
    {"百度文心助手", "Baidu Wenxin Assistant", "https://yiyan.baidu.com/", "AIWenxin", "png"},
    {"ChatGPT", "ChatGPT", "https://chatgpt.com/", "AIChatGPT", "svg"},
    {"Kimi", "Kimi", "https://www.kimi.com/", "AIKimi", "ico"},
}};

// Playlists of the music service for the work-scene items; index = tag, in
// the order "安静工作", "平静的一天", "被裁员了".
inline constexpr std::array<std::string_view, 3> workScenePlaylistAddresses = {
    "https://music.163.com/playlist?id=13679352066&uct2=U2FsdGVkX1+tlMlGqbgNd3ZLZ8cRk0c9y6vKqV0wNFE=",
    "https://music.163.com/playlist?id=13679517203&uct2=U2FsdGVkX1/7qx3m8Zr0Hq5d2Xf9cBEpL1aTnU4wVjk=",
    "https://music.163.com/playlist?id=13680044751&uct2=U2FsdGVkX19bT2kYh0pW7cNxR3mEa5dL8vQfZs6GuHo=",
};

}  // namespace tallowmere
