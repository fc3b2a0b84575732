#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "platform/gfx/color.h"

namespace tallowmere {

// Typed access to how the whole program looks: the light or dark theme and
// the colour of the window-snap outline. Nothing is cached: every read goes
// to the standard preferences, so a value the settings window writes is seen
// at the next read. Every read has a fallback; nothing fails. Main thread.
namespace AppearancePreferences {

enum class ThemeMode { system, light, dark };
inline constexpr std::array allThemeModes = {ThemeMode::system, ThemeMode::light, ThemeMode::dark};

inline constexpr std::string_view themeModeKey = "themeMode";
inline constexpr std::string_view outlineColorKey = "outlineColor";

std::string_view rawValue(ThemeMode mode);
// Exact, case-sensitive match.
std::optional<ThemeMode> themeModeFromRawValue(std::string_view rawValue);

// The stored theme; anything else, or nothing, is `system`.
ThemeMode themeMode();
// Sets the application's appearance from `themeMode()`: `system` clears it
// so the program follows the system. Called at launch and after the user
// picks a theme.
void applyTheme();

// The stored outline colour; system blue when absent or not an archived colour.
platform::Color outlineColor();
// Stores the colour in device RGB. A colour that cannot be archived stores
// nothing.
void setOutlineColor(const platform::Color& color);

}  // namespace AppearancePreferences

}  // namespace tallowmere
