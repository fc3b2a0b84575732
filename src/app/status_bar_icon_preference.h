#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tallowmere {

// Which picture the main status item shows. The settings window is the only
// writer: it calls `setStyle`, which stores the choice and posts
// `didChangeNotification` so the status item redraws. Main thread.
namespace StatusBarIconPreference {

// The order is the order of the settings window's style popup.
enum class Style { color, pixel, outline, cartoonInkpaw, gentleInkpaw };
inline constexpr std::array allStyles = {Style::color, Style::pixel, Style::outline, Style::cartoonInkpaw,
                                         Style::gentleInkpaw};

inline constexpr std::string_view styleKey = "statusBarIconStyle";
// Posted on the default notification centre with no object.
inline constexpr std::string_view didChangeNotification = "com.quenlow.tallowmere.StatusBarIconDidChange";

std::string_view rawValue(Style style);
// Exact, case-sensitive match.
std::optional<Style> styleFromRawValue(std::string_view rawValue);

// The style's name for menus, popups and accessibility, in the current
// interface language.
std::string title(Style style);

// The stored style; anything else, or nothing, is `color`.
Style style();
// Stores the style, then posts `didChangeNotification`.
void setStyle(Style style);

}  // namespace StatusBarIconPreference

}  // namespace tallowmere
