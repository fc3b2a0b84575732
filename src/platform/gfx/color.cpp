#include "platform/gfx/color.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace tallowmere::platform {
namespace {

struct DynamicEntry {
    SystemColor color;
    std::string_view name;
    RGBA light;
    RGBA dark;
};

// Light and dark values of the named colours, close to what the Mac shows so
// snapshots look familiar.
constexpr std::array<DynamicEntry, 33> dynamicTable{{
    {SystemColor::label, "label", {0, 0, 0, 0.85}, {1, 1, 1, 0.85}},
    {SystemColor::secondaryLabel, "secondaryLabel", {0, 0, 0, 0.5}, {1, 1, 1, 0.55}},
    {SystemColor::tertiaryLabel, "tertiaryLabel", {0, 0, 0, 0.26}, {1, 1, 1, 0.25}},
    {SystemColor::quaternaryLabel, "quaternaryLabel", {0, 0, 0, 0.1}, {1, 1, 1, 0.1}},
    {SystemColor::text, "text", {0, 0, 0, 1}, {1, 1, 1, 1}},
    {SystemColor::textBackground, "textBackground", {1, 1, 1, 1}, {0.118, 0.118, 0.118, 1}},
    {SystemColor::placeholderText, "placeholderText", {0, 0, 0, 0.25}, {1, 1, 1, 0.25}},
    {SystemColor::controlText, "controlText", {0, 0, 0, 0.85}, {1, 1, 1, 0.85}},
    {SystemColor::disabledControlText, "disabledControlText", {0, 0, 0, 0.25}, {1, 1, 1, 0.25}},
    {SystemColor::controlAccent, "controlAccent", {0, 0.478, 1, 1}, {0.039, 0.518, 1, 1}},
    {SystemColor::controlBackground, "controlBackground", {1, 1, 1, 1}, {0.118, 0.118, 0.118, 1}},
    {SystemColor::windowBackground, "windowBackground", {0.925, 0.925, 0.925, 1}, {0.196, 0.196, 0.196, 1}},
    {SystemColor::underPageBackground, "underPageBackground", {0.588, 0.588, 0.588, 0.9}, {0.157, 0.157, 0.157, 1}},
    {SystemColor::separator, "separator", {0, 0, 0, 0.1}, {1, 1, 1, 0.1}},
    {SystemColor::grid, "grid", {0.902, 0.902, 0.902, 1}, {0.102, 0.102, 0.102, 1}},
    {SystemColor::selectedContentBackground, "selectedContentBackground", {0, 0.388, 0.882, 1}, {0, 0.345, 0.816, 1}},
    {SystemColor::unemphasizedSelectedContentBackground, "unemphasizedSelectedContentBackground",
     {0.863, 0.863, 0.863, 1}, {0.275, 0.275, 0.275, 1}},
    {SystemColor::selectedMenuItemText, "selectedMenuItemText", {1, 1, 1, 1}, {1, 1, 1, 1}},
    {SystemColor::link, "link", {0, 0.408, 0.855, 1}, {0.255, 0.612, 1, 1}},
    {SystemColor::shadow, "shadow", {0, 0, 0, 1}, {0, 0, 0, 1}},
    {SystemColor::red, "systemRed", {1, 0.231, 0.188, 1}, {1, 0.271, 0.227, 1}},
    {SystemColor::orange, "systemOrange", {1, 0.584, 0, 1}, {1, 0.624, 0.039, 1}},
    {SystemColor::yellow, "systemYellow", {1, 0.8, 0, 1}, {1, 0.839, 0.039, 1}},
    {SystemColor::green, "systemGreen", {0.157, 0.804, 0.255, 1}, {0.196, 0.843, 0.294, 1}},
    {SystemColor::mint, "systemMint", {0, 0.78, 0.745, 1}, {0.4, 0.831, 0.812, 1}},
    {SystemColor::teal, "systemTeal", {0.349, 0.678, 0.769, 1}, {0.416, 0.769, 0.863, 1}},
    {SystemColor::cyan, "systemCyan", {0.196, 0.678, 0.902, 1}, {0.353, 0.784, 0.961, 1}},
    {SystemColor::blue, "systemBlue", {0, 0.478, 1, 1}, {0.039, 0.518, 1, 1}},
    {SystemColor::indigo, "systemIndigo", {0.345, 0.337, 0.839, 1}, {0.369, 0.361, 0.902, 1}},
    {SystemColor::purple, "systemPurple", {0.686, 0.322, 0.871, 1}, {0.749, 0.353, 0.949, 1}},
    {SystemColor::pink, "systemPink", {1, 0.176, 0.333, 1}, {1, 0.216, 0.373, 1}},
    {SystemColor::brown, "systemBrown", {0.635, 0.518, 0.369, 1}, {0.675, 0.557, 0.408, 1}},
    {SystemColor::gray, "systemGray", {0.557, 0.557, 0.576, 1}, {0.596, 0.596, 0.616, 1}},
}};

const DynamicEntry& entryFor(SystemColor color) {
    for (const auto& entry : dynamicTable)
        if (entry.color == color) return entry;
    return dynamicTable.front();  // unreachable for valid enumerators
}

bool isWhiteSpace(ColorSpace space) {
    return space == ColorSpace::calibratedWhite || space == ColorSpace::deviceWhite;
}

double luminance(double r, double g, double b) { return 0.2126 * r + 0.7152 * g + 0.0722 * b; }

double clampUnit(double v) { return std::isnan(v) ? 0 : std::clamp(v, 0.0, 1.0); }

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string_view spaceName(ColorSpace space) {
    switch (space) {
    case ColorSpace::sRGB: return "sRGB";
    case ColorSpace::calibratedRGB: return "calibratedRGB";
    case ColorSpace::deviceRGB: return "deviceRGB";
    case ColorSpace::calibratedWhite: return "calibratedWhite";
    case ColorSpace::deviceWhite: return "deviceWhite";
    }
    return "?";
}

std::string number(double v) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", v);
    return buffer;
}

}  // namespace

std::string_view rawValue(SystemColor color) { return entryFor(color).name; }

Color::Color(ColorSpace space, double c0, double c1, double c2, double alpha)
    : space_(space), c0_(c0), c1_(c1), c2_(c2), alpha_(alpha) {}

Color Color::sRGB(double red, double green, double blue, double alpha) {
    return Color(ColorSpace::sRGB, red, green, blue, alpha);
}
Color Color::calibratedRGB(double red, double green, double blue, double alpha) {
    return Color(ColorSpace::calibratedRGB, red, green, blue, alpha);
}
Color Color::deviceRGB(double red, double green, double blue, double alpha) {
    return Color(ColorSpace::deviceRGB, red, green, blue, alpha);
}
Color Color::calibratedWhite(double white, double alpha) {
    return Color(ColorSpace::calibratedWhite, white, 0, 0, alpha);
}
Color Color::deviceWhite(double white, double alpha) { return Color(ColorSpace::deviceWhite, white, 0, 0, alpha); }

Color Color::hsb(double hue, double saturation, double brightness, double alpha) {
    if (!std::isfinite(hue)) hue = 0;
    const double h = (hue - std::floor(hue)) * 6;  // sector 0..6
    const double s = clampUnit(saturation), v = clampUnit(brightness);
    const int sector = static_cast<int>(h) % 6;
    const double f = h - std::floor(h);
    const double p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
    switch (sector) {
    case 0: return sRGB(v, t, p, alpha);
    case 1: return sRGB(q, v, p, alpha);
    case 2: return sRGB(p, v, t, alpha);
    case 3: return sRGB(p, q, v, alpha);
    case 4: return sRGB(t, p, v, alpha);
    default: return sRGB(v, p, q, alpha);
    }
}

Color Color::system(SystemColor color) {
    Color result(ColorSpace::sRGB, 0, 0, 0, 1);
    result.systemColor_ = color;
    return result;
}

std::optional<Color> Color::fromHex(std::string_view text) {
    if (!text.empty() && text.front() == '#') text.remove_prefix(1);
    if (text.size() != 6) return std::nullopt;
    int value = 0;
    for (char c : text) {
        const int digit = hexDigit(c);
        if (digit < 0) return std::nullopt;
        value = value * 16 + digit;
    }
    return sRGB(((value >> 16) & 0xFF) / 255.0, ((value >> 8) & 0xFF) / 255.0, (value & 0xFF) / 255.0, 1);
}

Color Color::resolved(Appearance appearance) const {
    if (!systemColor_) return *this;
    const auto& entry = entryFor(*systemColor_);
    const RGBA& v = appearance == Appearance::dark ? entry.dark : entry.light;
    return sRGB(v.red, v.green, v.blue, dynamicAlphaSet_ ? alpha_ : v.alpha);
}

RGBA Color::rgba() const {
    if (systemColor_) return resolved().rgba();
    if (isWhiteSpace(space_)) return {c0_, c0_, c0_, alpha_};
    return {c0_, c1_, c2_, alpha_};
}

double Color::alpha() const { return rgba().alpha; }

double Color::whiteComponent() const {
    if (!systemColor_ && isWhiteSpace(space_)) return c0_;
    const RGBA v = rgba();
    return luminance(v.red, v.green, v.blue);
}

HSBA Color::hsba() const {
    const RGBA v = rgba();
    const double maxC = std::max({v.red, v.green, v.blue});
    const double minC = std::min({v.red, v.green, v.blue});
    const double delta = maxC - minC;
    HSBA result{0, maxC > 0 ? delta / maxC : 0, maxC, v.alpha};
    if (delta > 0) {
        double h;
        if (maxC == v.red) h = (v.green - v.blue) / delta;
        else if (maxC == v.green) h = 2 + (v.blue - v.red) / delta;
        else h = 4 + (v.red - v.green) / delta;
        h /= 6;
        result.hue = h < 0 ? h + 1 : h;
    }
    return result;
}

Color Color::withAlphaComponent(double alpha) const {
    Color result = *this;
    result.alpha_ = alpha;
    if (systemColor_) result.dynamicAlphaSet_ = true;
    return result;
}

Color Color::usingColorSpace(ColorSpace space) const {
    const Color source = resolved();
    if (source.space_ == space) return source;
    if (isWhiteSpace(space)) return Color(space, source.whiteComponent(), 0, 0, source.alpha_);
    const RGBA v = source.rgba();
    return Color(space, v.red, v.green, v.blue, v.alpha);
}

Color Color::blended(double fraction, const Color& other) const {
    const double f = clampUnit(fraction);
    const RGBA a = rgba(), b = other.rgba();
    auto mix = [f](double x, double y) { return x + (y - x) * f; };
    return sRGB(mix(a.red, b.red), mix(a.green, b.green), mix(a.blue, b.blue), mix(a.alpha, b.alpha));
}

std::string Color::hexString() const {
    const RGBA v = rgba();
    auto byte = [](double c) { return static_cast<int>(std::lround(clampUnit(c) * 255)); };
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "#%02X%02X%02X", byte(v.red), byte(v.green), byte(v.blue));
    return buffer;
}

std::string Color::description() const {
    if (systemColor_) {
        std::string text(rawValue(*systemColor_));
        if (dynamicAlphaSet_) text += " alpha " + number(alpha_);
        return text;
    }
    std::string text(spaceName(space_));
    text += "(";
    if (isWhiteSpace(space_)) {
        text += number(c0_);
    } else {
        text += number(c0_) + ", " + number(c1_) + ", " + number(c2_);
    }
    return text + ", " + number(alpha_) + ")";
}

}  // namespace tallowmere::platform
