#include "app/appearance_preferences.h"

#include "app/color_archive.h"
#include "platform/system/user_defaults.h"
#include "platform/ui/application.h"

namespace tallowmere::AppearancePreferences {

using platform::Color;

std::string_view rawValue(ThemeMode mode) {
    switch (mode) {
        case ThemeMode::system: return "system";
        case ThemeMode::light: return "light";
        case ThemeMode::dark: return "dark";
    }
    return "system";
}

std::optional<ThemeMode> themeModeFromRawValue(std::string_view text) {
    for (ThemeMode mode : allThemeModes) {
        if (rawValue(mode) == text) return mode;
    }
    return std::nullopt;
}

ThemeMode themeMode() {
    const auto stored = platform::UserDefaults::standard().string(themeModeKey);
    return stored ? themeModeFromRawValue(*stored).value_or(ThemeMode::system) : ThemeMode::system;
}

void applyTheme() {
    auto& application = platform::Application::shared();
    switch (themeMode()) {
        case ThemeMode::system: application.setAppearance(std::nullopt); break;
        case ThemeMode::light: application.setAppearance(platform::Appearance::light); break;
        case ThemeMode::dark: application.setAppearance(platform::Appearance::dark); break;
    }
}

Color outlineColor() {
    const Color fallback = Color::system(platform::SystemColor::blue);
    const auto bytes = platform::UserDefaults::standard().data(outlineColorKey);
    if (!bytes) return fallback;
    return ColorArchive::unarchive(*bytes).valueOr(fallback);
}

void setOutlineColor(const Color& color) {
    // Stored in device RGB so the outline looks the same whatever the
    // appearance was when the colour was picked.
    auto bytes = ColorArchive::archive(color.usingColorSpace(platform::ColorSpace::deviceRGB));
    if (!bytes) return;
    platform::UserDefaults::standard().set(outlineColorKey, std::move(*bytes));
}

}  // namespace tallowmere::AppearancePreferences
