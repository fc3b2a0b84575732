#include "windows/window_dial_theme.h"

#include "localization/interface_language.h"
#include "platform/system/user_defaults.h"

namespace tallowmere {

using platform::Color;

namespace {
// `info` and `position` index the table by the enumeration's value.
constexpr bool tableFollowsDeclarationOrder() {
    for (std::size_t i = 0; i < windowDialThemeCount; ++i) {
        if (static_cast<std::size_t>(windowDialThemeTable[i].theme) != i) return false;
    }
    return true;
}
static_assert(tableFollowsDeclarationOrder());
}  // namespace

Color DialColor::color() const {
    switch (kind) {
        case Kind::rgb: return Color::calibratedRGB(c0, c1, c2, alpha);
        case Kind::white: return Color::calibratedWhite(c0, alpha);
        case Kind::systemWhite: return Color::white().withAlphaComponent(alpha);
        case Kind::systemBlue: return Color::system(platform::SystemColor::blue);
    }
    return Color::black();
}

const WindowDialThemeInfo& info(WindowDialTheme theme) { return windowDialThemeTable[position(theme)]; }

std::string_view rawValue(WindowDialTheme theme) { return info(theme).rawValue; }

std::optional<WindowDialTheme> windowDialThemeFromRawValue(std::string_view text) {
    for (const auto& row : windowDialThemeTable) {
        if (row.rawValue == text) return row.theme;
    }
    return std::nullopt;
}

std::size_t position(WindowDialTheme theme) {
    const auto index = static_cast<std::size_t>(theme);
    return index < windowDialThemeCount ? index : 0;
}

Color foreground(WindowDialTheme theme) { return info(theme).foreground.color(); }
Color accent(WindowDialTheme theme) { return info(theme).accent.color(); }
Color background(WindowDialTheme theme) { return info(theme).background.color(); }

namespace {

// The Simplified Chinese title of each theme, in declaration order: the
// lookup key of its translations.
constexpr std::array<std::string_view, windowDialThemeCount> themeTitles = {
    "方案13 · 弧线美学", "方案11 · 悬浮玻璃", "方案18 · 微光点阵", "方案15 · 减法留白", "方案16 · 新拟物质感",
    "方案9 · 深色模式",   "海洋蓝",           "石墨灰",           "暖沙",             "薄荷",
    "极简玻璃",           "纯黑",             "西瓜果肉",         "西瓜切片",         "霓虹西瓜",
    "西瓜糖",             "白色箭头",         "黑色箭头",         "红色",             "深红",
    "橙色",               "深橙",             "黄色",             "深黄",             "绿色",
    "深绿",               "青色",             "深青",             "蓝色箭头",         "蓝色太阳",
    "紫色",               "深紫",             "粉色",             "深粉",             "红花",
    "塔洛比小狗",         "玻璃箭头",         "磨砂玻璃箭头",     "烟熏玻璃箭头",
};

}  // namespace

std::string title(WindowDialTheme theme) { return L(themeTitles[position(theme)]); }

WindowDialTheme steppedWindowDialTheme(WindowDialTheme theme, int step) {
    const auto count = static_cast<long>(windowDialThemeCount);
    const long index = ((static_cast<long>(position(theme)) + step) % count + count) % count;
    return windowDialThemeTable[static_cast<std::size_t>(index)].theme;
}

namespace WindowDialThemePreference {

WindowDialTheme stored() {
    const auto text = platform::UserDefaults::standard().string(key);
    if (!text) return WindowDialTheme::arc;
    return windowDialThemeFromRawValue(*text).value_or(WindowDialTheme::arc);
}

void store(WindowDialTheme theme) { platform::UserDefaults::standard().set(key, std::string(rawValue(theme))); }

}  // namespace WindowDialThemePreference

}  // namespace tallowmere
