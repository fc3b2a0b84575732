#include "screen/hex_color_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tallowmere::testing {
namespace {

TEST(HexColorTextTest, ComponentsClampAndRoundHalfAwayFromZero) {
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    constexpr double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double red, green, blue;
        std::string hex;
    } cases[] = {
        {0.5, 0.5, 0.5, "#808080"},        // 127.5 rounds up
        {-0.1, nan, 1.2, "#0000FF"},       // never three digits or a garbage byte
        {1, 1, 1, "#FFFFFF"},
        {0, 0, 0, "#000000"},
        {-inf, inf, 0.0019, "#00FF00"},    // 0.48 rounds down
        {58 / 255.0, 123 / 255.0, 1, "#3A7BFF"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hex);
        EXPECT_EQ(HexColorText::format(platform::Color::sRGB(c.red, c.green, c.blue)), c.hex);
    }
}

TEST(HexColorTextTest, ParsesOnlySixHexDigitsBetweenHashes) {
    struct Case {
        std::string text;
        std::optional<int> rgb;
    } cases[] = {
        {"#3A7BFF", 0x3A7BFF}, {"3a7bff", 0x3A7BFF}, {"##3a7bff#", 0x3A7BFF}, {"#000000", 0},
        {"#3A7BF", {}},        {"#3A7BFF0", {}},     {"#-12345", {}},         {"# 3A7BF", {}},
        {"#GGGGGG", {}},       {"", {}},             {"#", {}},               {"#+3A7BF", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto color = HexColorText::parse(c.text);
        ASSERT_EQ(color.has_value(), c.rgb.has_value());
        if (!color) continue;
        const auto rgba = color->rgba();
        EXPECT_EQ(std::lround(rgba.red * 255), (*c.rgb >> 16) & 0xFF);
        EXPECT_EQ(std::lround(rgba.green * 255), (*c.rgb >> 8) & 0xFF);
        EXPECT_EQ(std::lround(rgba.blue * 255), *c.rgb & 0xFF);
        EXPECT_EQ(rgba.alpha, 1);
    }
}

}  // namespace
}  // namespace tallowmere::testing
