#include "platform/desktop/screen_arrangement.h"

#include <gtest/gtest.h>

#include "support/desktop/simulated_desktop_test.h"

namespace tallowmere::testing {
namespace {

using platform::AXPoint;
using platform::AXRect;
using platform::ScreenPoint;
using platform::ScreenRect;

class ScreenArrangementTest : public SimulatedDesktopTest {
  protected:
    platform::ScreenArrangement& screens() { return desktop.screens(); }
};

TEST_F(ScreenArrangementTest, ConvertsThroughThePrimaryHeightOnEveryScreen) {
    // A 1920 × 1080 screen to the right, and one above the primary.
    setup.addScreen({.frame = {1440, 0, 1920, 1080}, .isBuiltIn = false});
    setup.addScreen({.frame = {0, 900, 1440, 900}, .isBuiltIn = false});
    struct Case {
        const char* where;
        ScreenPoint screen;
        AXPoint ax;
    } cases[] = {
        {"primary top-left", {0, 900}, {0, 0}},
        {"primary bottom-left", {0, 0}, {0, 900}},
        {"right screen's top, above the primary's", {2000, 1080}, {2000, -180}},
        {"right screen's bottom", {3000, 0}, {3000, 900}},
        {"screen above", {100, 1700}, {100, -800}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        EXPECT_EQ(screens().toAX(c.screen), c.ax);
        EXPECT_EQ(screens().toScreen(c.ax), c.screen);
    }
    // Rectangles flip on their top edge: a window hanging over the top of
    // the screen above has a negative AX y.
    EXPECT_EQ(screens().toAX(ScreenRect{100, 1000, 300, 200}), (AXRect{100, -300, 300, 200}));
    EXPECT_EQ(screens().toScreen(AXRect{100, -300, 300, 200}), (ScreenRect{100, 1000, 300, 200}));
    EXPECT_EQ(screens().primaryHeight(), 900);
}

TEST_F(ScreenArrangementTest, VisibleFrameLeavesOutTheMenuBarAndTheDock) {
    auto secondary = setup.addScreen({.frame = {1440, 0, 1920, 1080}});
    struct Case {
        platform::DockPlacement dock;
        ScreenRect visible;
    } cases[] = {
        {{platform::DockEdge::bottom, 0}, {0, 0, 1440, 876}},
        {{platform::DockEdge::bottom, 70}, {0, 70, 1440, 806}},
        {{platform::DockEdge::left, 60}, {60, 0, 1380, 876}},
        {{platform::DockEdge::right, 60}, {0, 0, 1380, 876}},
    };
    for (const Case& c : cases) {
        screens().setDock(c.dock);
        EXPECT_EQ(screens().primaryScreen()->visibleFrame(), c.visible);
        // The menu bar and the Dock live on the primary screen only.
        EXPECT_EQ(secondary->visibleFrame(), secondary->frame());
    }
}

TEST_F(ScreenArrangementTest, ChangesArePostedAndRemovingThePrimaryMovesTheOrigin) {
    int posted = 0;
    context().notificationCenter().addObserver(
        platform::ScreenArrangement::didChangeScreenParametersNotification, nullptr,
        [&](const platform::Notification&) { ++posted; });
    auto right = setup.addScreen({.frame = {1440, 100, 1920, 1080}});
    ASSERT_TRUE(screens().reconfigure(right, {1440, 100, 2560, 1440}, 1.0));
    screens().removeScreen(screens().primaryScreen());
    EXPECT_EQ(posted, 3);
    // The remaining screen is the primary now, and screen space starts at it.
    EXPECT_EQ(screens().primaryScreen(), right);
    EXPECT_EQ(right->frame(), (ScreenRect{0, 0, 2560, 1440}));
    EXPECT_EQ(right->backingScaleFactor(), 1.0);
    EXPECT_EQ(screens().primaryHeight(), 1440);
}

TEST_F(ScreenArrangementTest, RefusesScreensThatCannotExist) {
    EXPECT_FALSE(screens().addScreen({.frame = {1440, 0, 0, 900}}));
    EXPECT_FALSE(screens().addScreen(
        {.frame = {1440, 0, 800, 600}, .displayID = screens().primaryScreen()->displayID()}));
    EXPECT_FALSE(screens().reconfigure(screens().primaryScreen(), {10, 0, 1440, 900}));
    EXPECT_EQ(screens().screens().size(), 1u);
}

TEST_F(ScreenArrangementTest, MainScreenIsTheKeyWindowsScreen) {
    auto right = setup.addScreen({.frame = {1440, 0, 1920, 1080}});
    EXPECT_EQ(screens().mainScreen(), screens().primaryScreen());
    // Another application's focused window on the right screen, frontmost.
    setup.addFrontWindow({.bundleIdentifier = "com.example.editor", .name = "Editor"},
                         {.title = "Notes", .frame = {1600, 100, 800, 600}});
    EXPECT_EQ(screens().mainScreen(), right);
}

TEST_F(ScreenArrangementTest, MirroringChangesEveryDisplayOrNone) {
    auto second = setup.addScreen({.frame = {1440, 0, 1920, 1080}});
    auto third = setup.addScreen({.frame = {3360, 0, 1920, 1080}, .supportsMirroring = false});
    const auto main = screens().primaryScreen()->displayID();

    auto configuration = screens().beginConfiguration();
    ASSERT_TRUE(configuration);
    EXPECT_TRUE(configuration->configureMirror(second->displayID(), main));
    EXPECT_FALSE(configuration->configureMirror(third->displayID(), main));
    // The caller cancels after the failed step: nothing changed.
    EXPECT_FALSE(second->isMirrored());

    configuration = screens().beginConfiguration();
    ASSERT_TRUE(configuration);
    ASSERT_TRUE(configuration->configureMirror(second->displayID(), main));
    ASSERT_TRUE(screens().completeConfiguration(std::move(*configuration)));
    EXPECT_EQ(second->mirrorSource(), main);
    EXPECT_EQ(screens().screens().size(), 2u) << "a mirrored display shares the main screen";
    EXPECT_EQ(screens().onlineDisplays().size(), 3u);

    screens().failNextBeginConfiguration();
    EXPECT_FALSE(screens().beginConfiguration());
    configuration = screens().beginConfiguration();
    ASSERT_TRUE(configuration->configureMirror(second->displayID(), 0));
    screens().failNextCompleteConfiguration();
    EXPECT_FALSE(screens().completeConfiguration(std::move(*configuration)));
    EXPECT_TRUE(second->isMirrored());
}

}  // namespace
}  // namespace tallowmere::testing
