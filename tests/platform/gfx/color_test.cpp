#include "platform/gfx/color.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/fixture.h"

namespace tallowmere::platform {
namespace {

using ColorTest = testing::TallowmereTest;

TEST_F(ColorTest, HsbAndRgbConvertBothWays) {
    struct Case {
        double h, s, b;
        double red, green, blue;
    } cases[] = {
        {0, 1, 1, 1, 0, 0},              // red
        {1.0 / 3, 1, 1, 0, 1, 0},        // green
        {2.0 / 3, 1, 1, 0, 0, 1},        // blue
        {1.0 / 6, 1, 1, 1, 1, 0},        // yellow, on a sector edge
        {0.5, 0.5, 0.8, 0.4, 0.8, 0.8},  // desaturated cyan
        {0, 0, 0.5, 0.5, 0.5, 0.5},      // grey: no hue
        {0, 0, 0, 0, 0, 0},
        {0.9, 0.25, 1, 1, 0.75, 0.9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "hsb " << c.h << " " << c.s << " " << c.b);
        const Color fromHsb = Color::hsb(c.h, c.s, c.b);
        EXPECT_NEAR(fromHsb.red(), c.red, 1e-9);
        EXPECT_NEAR(fromHsb.green(), c.green, 1e-9);
        EXPECT_NEAR(fromHsb.blue(), c.blue, 1e-9);
        const HSBA back = Color::sRGB(c.red, c.green, c.blue).hsba();
        EXPECT_NEAR(back.hue, c.h, 1e-9);
        EXPECT_NEAR(back.saturation, c.s, 1e-9);
        EXPECT_NEAR(back.brightness, c.b, 1e-9);
    }
}

TEST_F(ColorTest, HueWrapsAndNonFiniteHueIsRed) {
    EXPECT_EQ(Color::hsb(1.0, 1, 1), Color::hsb(0, 1, 1));
    EXPECT_EQ(Color::hsb(-1.0 / 3, 1, 1).rgba(), Color::hsb(2.0 / 3, 1, 1).rgba());
    EXPECT_EQ(Color::hsb(NAN, 1, 1).rgba(), (RGBA{1, 0, 0, 1}));
}

TEST_F(ColorTest, HexTextRoundsClampsAndIgnoresAlpha) {
    struct Case {
        Color color;
        const char* hex;
    } cases[] = {
        {Color::sRGB(1, 1, 1), "#FFFFFF"},
        {Color::sRGB(0.5, 0.5, 0.5), "#808080"},  // 127.5 rounds away from zero
        {Color::sRGB(0.2275, 0.4824, 1, 0.3), "#3A7BFF"},
        {Color::sRGB(-0.2, 1.7, NAN), "#00FF00"},
        {Color::calibratedWhite(0), "#000000"},
        {Color::system(SystemColor::blue), "#007AFF"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hex);
        EXPECT_EQ(c.color.hexString(), c.hex);
    }
}

TEST_F(ColorTest, HexParsingAcceptsSixDigitsWithOptionalHash) {
    struct Case {
        const char* text;
        std::optional<RGBA> expected;
    } cases[] = {
        {"#3A7BFF", RGBA{0x3A / 255.0, 0x7B / 255.0, 1, 1}},
        {"3a7bff", RGBA{0x3A / 255.0, 0x7B / 255.0, 1, 1}},
        {"#000000", RGBA{0, 0, 0, 1}},
        {"", std::nullopt},
        {"#", std::nullopt},
        {"#FFF", std::nullopt},
        {"#3A7BFF00", std::nullopt},
        {"##3A7BFF", std::nullopt},
        {"#3A7BFG", std::nullopt},
        {"-3A7BF", std::nullopt},
        {" 3A7BF", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto parsed = Color::fromHex(c.text);
        ASSERT_EQ(parsed.has_value(), c.expected.has_value());
        if (parsed) {
            EXPECT_EQ(parsed->rgba(), *c.expected);
        }
    }
    EXPECT_EQ(Color::fromHex("#3A7BFF")->hexString(), "#3A7BFF");
}

TEST_F(ColorTest, DynamicColorsResolveByAppearance) {
    const Color label = Color::system(SystemColor::label);
    EXPECT_TRUE(label.isDynamic());
    const RGBA light = label.rgba(Appearance::light), dark = label.rgba(Appearance::dark);
    EXPECT_LT(light.red, 0.5) << "label is dark text on a light background";
    EXPECT_GT(dark.red, 0.5) << "label is light text on a dark background";

    // Without an explicit appearance the current one decides.
    EXPECT_EQ(label.rgba(), light);
    {
        ScopedAppearance scoped(Appearance::dark);
        EXPECT_EQ(label.rgba(), dark);
        EXPECT_EQ(label.resolved(), label.resolved(Appearance::dark));
    }
    EXPECT_EQ(label.rgba(), light);
}

TEST_F(ColorTest, AlphaOnADynamicColorStaysDynamic) {
    const Color outline = Color::system(SystemColor::blue).withAlphaComponent(0.72);
    EXPECT_TRUE(outline.isDynamic());
    EXPECT_EQ(outline.systemColor(), SystemColor::blue);
    EXPECT_DOUBLE_EQ(outline.rgba(Appearance::light).alpha, 0.72);
    EXPECT_DOUBLE_EQ(outline.rgba(Appearance::dark).alpha, 0.72);
    EXPECT_NE(outline.rgba(Appearance::light).blue, 0);
    // The table's own alpha stays when none is set (the label's translucency).
    EXPECT_LT(Color::system(SystemColor::secondaryLabel).alpha(), 1);
}

TEST_F(ColorTest, ColorSpacesConvertThroughLuminance) {
    const Color white = Color::calibratedWhite(0.25, 0.5);
    const Color rgb = white.usingColorSpace(ColorSpace::deviceRGB);
    EXPECT_EQ(rgb.colorSpace(), ColorSpace::deviceRGB);
    EXPECT_EQ(rgb.rgba(), (RGBA{0.25, 0.25, 0.25, 0.5}));
    EXPECT_NEAR(rgb.usingColorSpace(ColorSpace::calibratedWhite).whiteComponent(), 0.25, 1e-12);
    EXPECT_NEAR(Color::sRGB(0, 1, 0).whiteComponent(), 0.7152, 1e-12);

    // A dynamic colour turns into plain components of the current appearance.
    const Color device = Color::system(SystemColor::blue).usingColorSpace(ColorSpace::deviceRGB);
    EXPECT_FALSE(device.isDynamic());
    EXPECT_EQ(device.rgba(), Color::system(SystemColor::blue).rgba(Appearance::light));
}

TEST_F(ColorTest, BlendingInterpolatesEveryComponentAndClampsTheFraction) {
    const Color a = Color::sRGB(0, 0, 0, 0), b = Color::sRGB(1, 0.5, 0, 1);
    EXPECT_EQ(a.blended(0.5, b).rgba(), (RGBA{0.5, 0.25, 0, 0.5}));
    EXPECT_EQ(a.blended(2, b).rgba(), b.rgba());
    EXPECT_EQ(a.blended(NAN, b).rgba(), a.rgba());
}

}  // namespace
}  // namespace tallowmere::platform
