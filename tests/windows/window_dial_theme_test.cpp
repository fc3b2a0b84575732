#include "windows/window_dial_theme.h"

#include <gtest/gtest.h>

#include "platform/system/user_defaults.h"
#include "support/fixture.h"

namespace tallowmere {
namespace {

using platform::Color;

class WindowDialThemeTest : public testing::TallowmereTest {};

TEST_F(WindowDialThemeTest, ThirtyNineThemesInOrderWithTheirStoredValues) {
    // The first six keep the numbers older settings stored.
    constexpr const char* expected[] = {
        "13",  "11", "18", "15", "16", "09", "ocean", "graphite", "sand", "mint", "minimalGlass", "pureBlack",
        "watermelonFlesh", "watermelonSlices", "watermelonNeon", "watermelonCandy", "chevronWhite", "chevronBlack",
        "colorRed", "colorDeepRed", "colorOrange", "colorDeepOrange", "colorYellow", "colorDeepYellow", "colorGreen",
        "colorDeepGreen", "colorCyan", "colorDeepCyan", "chevronBlue", "blueSun", "colorPurple", "colorDeepPurple",
        "colorPink", "colorDeepPink", "redFlower", "tallowbyDog", "chevronGlass", "chevronFrostedGlass",
        "chevronSmokedGlass"};
    ASSERT_EQ(windowDialThemeCount, 39u);
    ASSERT_EQ(std::size(expected), windowDialThemeCount);
    for (std::size_t i = 0; i < windowDialThemeCount; ++i) {
        const auto theme = windowDialThemeTable[i].theme;
        SCOPED_TRACE(expected[i]);
        EXPECT_EQ(position(theme), i);
        EXPECT_EQ(rawValue(theme), expected[i]);
        EXPECT_EQ(windowDialThemeFromRawValue(expected[i]), theme);
    }
    EXPECT_EQ(windowDialThemeTable[34].theme, WindowDialTheme::redFlower);
    EXPECT_EQ(windowDialThemeTable[38].theme, WindowDialTheme::chevronSmokedGlass);
}

TEST_F(WindowDialThemeTest, ColoursComeFromTheTable) {
    struct Case {
        WindowDialTheme theme;
        Color foreground, accent, background;
    } cases[] = {
        {WindowDialTheme::arc, Color::calibratedRGB(0.28, 0.2, 0.18, 1), Color::calibratedRGB(0.96, 0.53, 0.2, 1),
         Color::calibratedRGB(1, 0.95, 0.82, 0.99)},
        {WindowDialTheme::neumorphism, Color::calibratedWhite(0.3, 1), Color::system(platform::SystemColor::blue),
         Color::calibratedWhite(0.99, 0.99)},
        {WindowDialTheme::watermelonSlices, Color::white().withAlphaComponent(0.96),
         Color::calibratedRGB(0.05, 0.58, 0.28, 1), Color::calibratedRGB(0.94, 0.18, 0.28, 0.99)},
        {WindowDialTheme::blueSun, Color::white(), Color::white(), Color::calibratedRGB(0.07, 0.12, 0.68, 0.99)},
        {WindowDialTheme::chevronSmokedGlass, Color::calibratedWhite(0.94, 0.94),
         Color::calibratedRGB(0.62, 0.78, 0.88, 0.84), Color::calibratedWhite(0.12, 0.82)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(rawValue(c.theme)));
        EXPECT_EQ(foreground(c.theme), c.foreground);
        EXPECT_EQ(accent(c.theme), c.accent);
        EXPECT_EQ(background(c.theme), c.background);
    }
}

TEST_F(WindowDialThemeTest, StoredValueNamesTheThemeOrFallsBackToArc) {
    struct Case {
        std::optional<std::string> stored;
        WindowDialTheme theme;
    } cases[] = {
        {"13", WindowDialTheme::arc},
        {"arc", WindowDialTheme::arc},  // a name that is not a raw value
        {"ocean", WindowDialTheme::ocean},
        {"09", WindowDialTheme::dark},
        {"9", WindowDialTheme::arc},
        {"Ocean", WindowDialTheme::arc},
        {std::nullopt, WindowDialTheme::arc},
    };
    auto& defaults = platform::UserDefaults::standard();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored.value_or("(absent)"));
        if (c.stored) defaults.set(WindowDialThemePreference::key, *c.stored);
        else defaults.removeObject(WindowDialThemePreference::key);
        EXPECT_EQ(WindowDialThemePreference::stored(), c.theme);
    }
    WindowDialThemePreference::store(WindowDialTheme::dark);
    EXPECT_EQ(defaults.string(WindowDialThemePreference::key), "09");
}

TEST_F(WindowDialThemeTest, SteppingWrapsAtBothEnds) {
    struct Case {
        WindowDialTheme from;
        int step;
        WindowDialTheme to;
    } cases[] = {
        {WindowDialTheme::arc, -1, WindowDialTheme::chevronSmokedGlass},
        {WindowDialTheme::chevronSmokedGlass, +1, WindowDialTheme::arc},
        {WindowDialTheme::arc, +1, WindowDialTheme::glass},
        {WindowDialTheme::tallowbyDog, -1, WindowDialTheme::redFlower},
        {WindowDialTheme::dark, 39, WindowDialTheme::dark},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(steppedWindowDialTheme(c.from, c.step), c.to) << rawValue(c.from) << " " << c.step;
    }
}

}  // namespace
}  // namespace tallowmere
