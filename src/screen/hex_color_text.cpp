#include "screen/hex_color_text.h"

#include <algorithm>
#include <cmath>

namespace tallowmere::HexColorText {

namespace {
constexpr std::string_view digits = "0123456789ABCDEF";

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}
}  // namespace

int componentByte(double component) {
    // NaN fails this test too, so it never reaches the rounding.
    if (!(component >= 0)) return 0;
    return static_cast<int>(std::lround(std::min(component, 1.0) * 255));
}

std::string format(const platform::Color& color) {
    const auto rgba = color.usingColorSpace(platform::ColorSpace::sRGB).rgba();
    std::string text = "#";
    for (double component : {rgba.red, rgba.green, rgba.blue}) {
        const int byte = componentByte(component);
        text += digits[static_cast<std::size_t>(byte >> 4)];
        text += digits[static_cast<std::size_t>(byte & 0xF)];
    }
    return text;
}

std::optional<platform::Color> parse(std::string_view text) {
    while (!text.empty() && text.front() == '#') text.remove_prefix(1);
    while (!text.empty() && text.back() == '#') text.remove_suffix(1);
    if (text.size() != 6) return std::nullopt;
    int value = 0;
    for (char c : text) {
        const int digit = hexValue(c);
        if (digit < 0) return std::nullopt;
        value = value * 16 + digit;
    }
    return platform::Color::sRGB(((value >> 16) & 0xFF) / 255.0, ((value >> 8) & 0xFF) / 255.0,
                                 (value & 0xFF) / 255.0, 1);
}

}  // namespace tallowmere::HexColorText
