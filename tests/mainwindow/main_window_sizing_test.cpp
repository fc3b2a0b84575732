#include "mainwindow/main_window_sizing.h"

#include <gtest/gtest.h>

#include "mainwindow/main_app_window.h"
#include "platform/desktop/screen.h"
#include "platform/ui/desktop_link.h"
#include "support/fixture.h"

namespace tallowmere {
namespace {

using platform::ScreenRect;

TEST(MainWindowSizing, AvailableFrameKeepsAMarginButNeverInverts) {
    struct Case {
        const char* name;
        ScreenRect visible;
        ScreenRect expected;
    } cases[] = {
        {"ordinary screen", {0, 0, 1440, 876}, {20, 20, 1400, 836}},
        {"offset screen", {1440, -200, 1920, 1080}, {1460, -180, 1880, 1040}},
        {"narrow strip", {0, 0, 31, 500}, {15, 20, 1, 460}},
        {"single point", {0, 0, 1, 1}, {0, 0, 1, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(MainWindowSizing::availableFrame(c.visible), c.expected);
    }
}

TEST(MainWindowSizing, ConstrainedFrameShrinksThenMovesInside) {
    const ScreenRect visible{0, 0, 1440, 876};  // available: 20, 20, 1400 × 836
    struct Case {
        const char* name;
        ScreenRect proposed;
        ScreenRect expected;
    } cases[] = {
        {"already inside", {100, 100, 800, 600}, {100, 100, 800, 600}},
        {"too large", {-50, -50, 3000, 2000}, {20, 20, 1400, 836}},
        {"past the top right", {1000, 600, 800, 600}, {620, 256, 800, 600}},
        {"below the bottom left", {-300, -300, 800, 600}, {20, 20, 800, 600}},
        {"empty", {500, 500, 0, 0}, {500, 500, 1, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(MainWindowSizing::constrainedFrame(c.proposed, visible), c.expected);
    }
}

class MainAppWindowTest : public testing::TallowmereTest {};

TEST_F(MainAppWindowTest, KeepsProposedFramesWhereTheMainWindowMayBe) {
    auto window = platform::Window::make<MainAppWindow>(ScreenRect{0, 0, 800, 600},
                                                        platform::WindowStyleMask{platform::WindowStyleMask::titled});
    auto screen = platform::DesktopLink::mainScreen();
    ASSERT_TRUE(screen);

    const ScreenRect constrained = window->constrainFrameRect({-400, 2000, 5000, 700}, screen);

    EXPECT_EQ(constrained, MainWindowSizing::constrainedFrame({-400, 2000, 5000, 700}, screen->visibleFrame()));
}

}  // namespace
}  // namespace tallowmere
