#include "windows/window_dial_theme.h"

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
