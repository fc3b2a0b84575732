#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/gfx/color.h"

namespace tallowmere {

// The looks the snap palette's dial can take. The order is that of the
// settings pop-up and of stepping through the themes from the preview.
enum class WindowDialTheme {
    arc,
    glass,
    dotmatrix,
    minimal,
    neumorphism,
    dark,
    ocean,
    graphite,
    sand,
    mint,
    minimalGlass,
    pureBlack,
    watermelonFlesh,
    watermelonSlices,
    watermelonNeon,
    watermelonCandy,
    chevronWhite,
    chevronBlack,
    colorRed,
    colorDeepRed,
    colorOrange,
    colorDeepOrange,
    colorYellow,
    colorDeepYellow,
    colorGreen,
    colorDeepGreen,
    colorCyan,
    colorDeepCyan,
    chevronBlue,
    blueSun,
    colorPurple,
    colorDeepPurple,
    colorPink,
    colorDeepPink,
    redFlower,
    tallowbyDog,
    chevronGlass,
    chevronFrostedGlass,
    chevronSmokedGlass,
};

// A colour written as data: calibrated RGB or white, or one of the two
// named system colours the themes use.
struct DialColor {
    enum class Kind { rgb, white, systemWhite, systemBlue };
    Kind kind = Kind::rgb;
    double c0 = 0, c1 = 0, c2 = 0;  // red, green, blue; or the white level in c0
    double alpha = 1;

    platform::Color color() const;
};

// The shape the palette draws at each placement.
enum class DialMarker { arrow, chevron, petal };

// The colour of the disc under the highlighted placement.
enum class DialHighlight { systemBlue, accent, white };

struct WindowDialThemeInfo {
    WindowDialTheme theme;
    std::string_view name;      // the case name, for traces and pictures
    std::string_view rawValue;  // what the preference stores
    DialColor foreground;       // markers
    DialColor accent;           // rings, dots, the centre circle
    DialColor background;       // the disc
    DialMarker marker;
    DialHighlight highlight;
    // Dark dials light up the chosen centre in white whatever `highlight` says.
    bool whiteCentreHighlight;
};

namespace dial_color {
constexpr DialColor rgb(double r, double g, double b, double a) { return {DialColor::Kind::rgb, r, g, b, a}; }
constexpr DialColor white(double w, double a) { return {DialColor::Kind::white, w, w, w, a}; }
constexpr DialColor systemWhite(double a) { return {DialColor::Kind::systemWhite, 1, 1, 1, a}; }
constexpr DialColor systemBlue() { return {DialColor::Kind::systemBlue, 0, 0, 0, 1}; }
}  // namespace dial_color

// Every theme in declaration order. The first six store a two-digit number
// rather than their name, so preferences written long ago still resolve.
inline constexpr std::array<WindowDialThemeInfo, 39> windowDialThemeTable = [] {
    using namespace dial_color;
    return std::array<WindowDialThemeInfo, 39>{{
        {WindowDialTheme::arc, "arc", "13", rgb(0.28, 0.2, 0.18, 1), rgb(0.96, 0.53, 0.2, 1), rgb(1, 0.95, 0.82, 0.99), DialMarker::arrow, DialHighlight::systemBlue, false},
        {WindowDialTheme::glass, "glass", "11", rgb(0.12, 0.42, 0.72, 1), rgb(0.28, 0.66, 0.98, 1), rgb(0.88, 0.96, 1, 0.96), DialMarker::arrow, DialHighlight::systemBlue, false},
        {WindowDialTheme::dotmatrix, "dotmatrix", "18", rgb(0.34, 0.18, 0.4, 1), rgb(0.94, 0.3, 0.56, 1), rgb(1, 0.91, 0.36, 0.99), DialMarker::arrow, DialHighlight::systemBlue, false},
        {WindowDialTheme::minimal, "minimal", "15", rgb(0.38, 0.2, 0.24, 1), rgb(0.98, 0.45, 0.36, 1), rgb(1, 0.93, 0.94, 0.99), DialMarker::arrow, DialHighlight::systemBlue, false},
        {WindowDialTheme::neumorphism, "neumorphism", "16", white(0.3, 1), systemBlue(), white(0.99, 0.99), DialMarker::arrow, DialHighlight::systemBlue, false},
        {WindowDialTheme::dark, "dark", "09", white(0.92, 1), white(0.7, 1), white(0.16, 0.99), DialMarker::arrow, DialHighlight::systemBlue, true},
        {WindowDialTheme::ocean, "ocean", "ocean", rgb(0.1, 0.36, 0.62, 1), rgb(0.12, 0.48, 0.92, 1), rgb(0.91, 0.96, 1, 0.98), DialMarker::arrow, DialHighlight::systemBlue, false},
        {WindowDialTheme::graphite, "graphite", "graphite", white(0.9, 1), rgb(0.48, 0.7, 1, 1), white(0.17, 0.98), DialMarker::arrow, DialHighlight::systemBlue, true},
        {WindowDialTheme::sand, "sand", "sand", rgb(0.34, 0.27, 0.2, 1), rgb(0.82, 0.48, 0.24, 1), rgb(0.98, 0.94, 0.86, 0.99), DialMarker::arrow, DialHighlight::systemBlue, false},
        {WindowDialTheme::mint, "mint", "mint", rgb(0.08, 0.42, 0.34, 1), rgb(0.1, 0.68, 0.52, 1), rgb(0.91, 0.98, 0.95, 0.99), DialMarker::arrow, DialHighlight::systemBlue, false},
        {WindowDialTheme::minimalGlass, "minimalGlass", "minimalGlass", white(0.18, 0.88), white(0.16, 0.72), white(1, 0.72), DialMarker::arrow, DialHighlight::systemBlue, false},
        {WindowDialTheme::pureBlack, "pureBlack", "pureBlack", white(0.98, 1), white(0.74, 1), white(0.03, 0.98), DialMarker::arrow, DialHighlight::systemBlue, true},
        {WindowDialTheme::watermelonFlesh, "watermelonFlesh", "watermelonFlesh", white(0.12, 1), rgb(0.12, 0.68, 0.32, 1), rgb(0.98, 0.31, 0.38, 0.99), DialMarker::arrow, DialHighlight::accent, false},
        {WindowDialTheme::watermelonSlices, "watermelonSlices", "watermelonSlices", systemWhite(0.96), rgb(0.05, 0.58, 0.28, 1), rgb(0.94, 0.18, 0.28, 0.99), DialMarker::arrow, DialHighlight::accent, true},
        {WindowDialTheme::watermelonNeon, "watermelonNeon", "watermelonNeon", rgb(0.82, 1, 0.86, 1), rgb(0.18, 1, 0.48, 1), rgb(0.18, 0.025, 0.06, 0.99), DialMarker::arrow, DialHighlight::accent, true},
        {WindowDialTheme::watermelonCandy, "watermelonCandy", "watermelonCandy", rgb(0.22, 0.32, 0.24, 1), rgb(0.28, 0.74, 0.48, 1), rgb(1, 0.7, 0.73, 0.98), DialMarker::arrow, DialHighlight::accent, false},
        {WindowDialTheme::chevronWhite, "chevronWhite", "chevronWhite", white(0.18, 0.92), white(0.34, 0.72), white(0.98, 0.98), DialMarker::chevron, DialHighlight::systemBlue, false},
        {WindowDialTheme::chevronBlack, "chevronBlack", "chevronBlack", white(0.94, 1), white(0.72, 0.92), white(0.055, 0.98), DialMarker::chevron, DialHighlight::systemBlue, true},
        {WindowDialTheme::colorRed, "colorRed", "colorRed", rgb(0.72, 0.08, 0.12, 1), rgb(0.9, 0.16, 0.22, 1), rgb(1, 0.88, 0.89, 0.99), DialMarker::chevron, DialHighlight::accent, false},
        {WindowDialTheme::colorDeepRed, "colorDeepRed", "colorDeepRed", rgb(1, 0.78, 0.8, 1), rgb(1, 0.42, 0.46, 1), rgb(0.35, 0.015, 0.03, 0.99), DialMarker::chevron, DialHighlight::accent, true},
        {WindowDialTheme::colorOrange, "colorOrange", "colorOrange", rgb(0.7, 0.25, 0.02, 1), rgb(0.92, 0.36, 0.04, 1), rgb(1, 0.92, 0.82, 0.99), DialMarker::chevron, DialHighlight::accent, false},
        {WindowDialTheme::colorDeepOrange, "colorDeepOrange", "colorDeepOrange", rgb(1, 0.8, 0.58, 1), rgb(1, 0.58, 0.2, 1), rgb(0.38, 0.1, 0.01, 0.99), DialMarker::chevron, DialHighlight::accent, true},
        {WindowDialTheme::colorYellow, "colorYellow", "colorYellow", rgb(0.55, 0.38, 0.01, 1), rgb(0.68, 0.48, 0.02, 1), rgb(1, 0.97, 0.72, 0.99), DialMarker::chevron, DialHighlight::accent, false},
        {WindowDialTheme::colorDeepYellow, "colorDeepYellow", "colorDeepYellow", rgb(1, 0.88, 0.35, 1), rgb(1, 0.78, 0.12, 1), rgb(0.3, 0.22, 0.01, 0.99), DialMarker::chevron, DialHighlight::accent, true},
        {WindowDialTheme::colorGreen, "colorGreen", "colorGreen", rgb(0.08, 0.48, 0.18, 1), rgb(0.1, 0.62, 0.24, 1), rgb(0.86, 0.97, 0.86, 0.99), DialMarker::chevron, DialHighlight::accent, false},
        {WindowDialTheme::colorDeepGreen, "colorDeepGreen", "colorDeepGreen", rgb(0.54, 1, 0.65, 1), rgb(0.36, 0.9, 0.5, 1), rgb(0.02, 0.28, 0.1, 0.99), DialMarker::chevron, DialHighlight::accent, true},
        {WindowDialTheme::colorCyan, "colorCyan", "colorCyan", rgb(0.02, 0.48, 0.54, 1), rgb(0.02, 0.62, 0.7, 1), rgb(0.84, 0.97, 0.98, 0.99), DialMarker::chevron, DialHighlight::accent, false},
        {WindowDialTheme::colorDeepCyan, "colorDeepCyan", "colorDeepCyan", rgb(0.5, 0.96, 1, 1), rgb(0.26, 0.84, 0.92, 1), rgb(0.01, 0.25, 0.29, 0.99), DialMarker::chevron, DialHighlight::accent, true},
        {WindowDialTheme::chevronBlue, "chevronBlue", "chevronBlue", rgb(0.06, 0.34, 0.72, 1), rgb(0.08, 0.48, 0.96, 1), rgb(0.91, 0.96, 1, 0.98), DialMarker::chevron, DialHighlight::systemBlue, false},
        {WindowDialTheme::blueSun, "blueSun", "blueSun", systemWhite(1), systemWhite(1), rgb(0.07, 0.12, 0.68, 0.99), DialMarker::chevron, DialHighlight::white, false},
        {WindowDialTheme::colorPurple, "colorPurple", "colorPurple", rgb(0.43, 0.16, 0.7, 1), rgb(0.54, 0.24, 0.86, 1), rgb(0.94, 0.88, 1, 0.99), DialMarker::chevron, DialHighlight::accent, false},
        {WindowDialTheme::colorDeepPurple, "colorDeepPurple", "colorDeepPurple", rgb(0.82, 0.66, 1, 1), rgb(0.7, 0.48, 0.96, 1), rgb(0.2, 0.05, 0.35, 0.99), DialMarker::chevron, DialHighlight::accent, true},
        {WindowDialTheme::colorPink, "colorPink", "colorPink", rgb(0.68, 0.1, 0.4, 1), rgb(0.84, 0.16, 0.52, 1), rgb(1, 0.88, 0.95, 0.99), DialMarker::chevron, DialHighlight::accent, false},
        {WindowDialTheme::colorDeepPink, "colorDeepPink", "colorDeepPink", rgb(1, 0.66, 0.84, 1), rgb(0.96, 0.42, 0.68, 1), rgb(0.34, 0.02, 0.18, 0.99), DialMarker::chevron, DialHighlight::accent, true},
        {WindowDialTheme::redFlower, "redFlower", "redFlower", rgb(0.9, 0.16, 0.31, 1), rgb(1, 0.4, 0.53, 1), rgb(1, 0.94, 0.96, 0.98), DialMarker::petal, DialHighlight::systemBlue, false},
        {WindowDialTheme::tallowbyDog, "tallowbyDog", "tallowbyDog", white(0.16, 0.92), rgb(0.98, 0.58, 0.18, 1), rgb(1, 0.96, 0.84, 0.98), DialMarker::chevron, DialHighlight::accent, false},
        {WindowDialTheme::chevronGlass, "chevronGlass", "chevronGlass", white(0.16, 0.76), white(0.28, 0.58), white(1, 0.68), DialMarker::chevron, DialHighlight::systemBlue, false},
        {WindowDialTheme::chevronFrostedGlass, "chevronFrostedGlass", "chevronFrostedGlass", rgb(0.12, 0.3, 0.42, 0.86), rgb(0.42, 0.78, 0.96, 0.88), rgb(0.86, 0.96, 1, 0.76), DialMarker::chevron, DialHighlight::systemBlue, false},
        {WindowDialTheme::chevronSmokedGlass, "chevronSmokedGlass", "chevronSmokedGlass", white(0.94, 0.94), rgb(0.62, 0.78, 0.88, 0.84), white(0.12, 0.82), DialMarker::chevron, DialHighlight::systemBlue, true},    }};
}();

inline constexpr std::size_t windowDialThemeCount = windowDialThemeTable.size();

const WindowDialThemeInfo& info(WindowDialTheme theme);
std::string_view rawValue(WindowDialTheme theme);
// Exact match of a stored value; anything else is no theme.
std::optional<WindowDialTheme> windowDialThemeFromRawValue(std::string_view rawValue);
// Position in declaration order.
std::size_t position(WindowDialTheme theme);

platform::Color foreground(WindowDialTheme theme);
platform::Color accent(WindowDialTheme theme);
platform::Color background(WindowDialTheme theme);

// The theme's title in the interface language ("方案13 · 弧线美学" for `arc`).
std::string title(WindowDialTheme theme);

// The theme `step` places away in declaration order, wrapping at both ends.
WindowDialTheme steppedWindowDialTheme(WindowDialTheme theme, int step);

// The preference that holds the chosen theme's raw value.
namespace WindowDialThemePreference {
inline constexpr std::string_view key = "windowDialTheme";
// The stored theme; `arc` when the key is missing or names no theme.
WindowDialTheme stored();
void store(WindowDialTheme theme);
}  // namespace WindowDialThemePreference

}  // namespace tallowmere
