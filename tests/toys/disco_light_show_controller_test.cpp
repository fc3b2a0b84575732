#include <memory>

#include "platform/desktop/desktop.h"
#include "platform/gfx/cairo_canvas.h"
#include "platform/system/bundle.h"
#include "platform/ui/event_monitors.h"
#include "platform/ui/screen_snapshot.h"
#include "platform/ui/window.h"
#include "support/desktop/desktop_fixture.h"
#include "toys/disco_light_show_controller.h"
#include "toys/fly_simulation_controller.h"
#include "toys/fly_sprite_view.h"
#include "toys/toy_random.h"

namespace tallowmere::testing {
namespace {

using platform::ScreenPoint;

class DiscoLightShowTest : public DesktopTest {
protected:
    DiscoLightShowController& disco() { return DiscoLightShowController::shared(); }
    ScreenPoint launcher(std::size_t index) { return disco().launcherPanels().at(index)->frame().center(); }
    void addSecondScreen() { ASSERT_TRUE(setup.addScreen({.frame = {1440, 0, 1920, 1080}, .isBuiltIn = false})); }
    // A click, then the wait that tells it from a double click.
    void clickLauncher(std::size_t index) {
        mouse.click(launcher(index));
        advance(desktop.doubleClickInterval() + 0.05);
    }
    std::size_t keyMonitors() { return platform::EventMonitors::shared().localMonitorCount(); }
    // Lets `seconds` pass while the main queue is busy elsewhere, so the
    // next frame comes late.
    void stall(double seconds) {
        clock().setScheduler(nullptr);
        advance(seconds);
        clock().setScheduler(&context().mainQueue());
        runUntilIdle();
    }
    // How many sampled pixels of the launcher on the first screen are not clear.
    int paintedLauncherPixels() {
        const auto& panel = *disco().launcherPanels().front();
        auto made = platform::CairoCanvas::make(panel.frame().size, 1);
        if (!made.ok()) return -1;
        auto& canvas = **made;
        canvas.translate(-panel.frame().minX(), -panel.frame().minY());
        platform::ScreenSnapshot::drawOwnWindow(canvas, panel);
        const auto bitmap = canvas.bitmap();
        int painted = 0;
        for (int y = 0; y < bitmap.pixelsHigh(); y += 3) {
            for (int x = 0; x < bitmap.pixelsWide(); x += 3) painted += bitmap.pixel(x, y).alpha > 0 ? 1 : 0;
        }
        return painted;
    }
};

TEST_F(DiscoLightShowTest, LaunchersSitAtTheTopCentreOfEveryScreen) {
    addSecondScreen();
    disco().presentLauncher();
    ASSERT_EQ(disco().launcherPanels().size(), 2u);
    const auto screens = desktop.screens().screens();
    for (std::size_t i = 0; i < 2; ++i) {
        const auto visible = screens[i]->visibleFrame();
        const auto& panel = *disco().launcherPanels()[i];
        EXPECT_EQ(panel.frame(), (platform::ScreenRect{visible.midX() - 63, visible.maxY() - 138, 126, 126}));
        EXPECT_EQ(panel.level(), DiscoLightShowController::launcherLevel);
    }
}

TEST_F(DiscoLightShowTest, ClicksStopOneScreenAtATimeThenTheWholeShow) {
    addSecondScreen();
    disco().presentLauncher();
    const std::size_t monitorsBefore = keyMonitors();
    clickLauncher(0);
    ASSERT_EQ(disco().lightShowPanels().size(), 2u) << "one click starts every screen";
    EXPECT_TRUE(disco().hasAnimationTimer());
    EXPECT_EQ(keyMonitors(), monitorsBefore + 1);
    const auto screenB = desktop.screens().screens()[1]->displayID();

    clickLauncher(0);
    ASSERT_EQ(disco().lightShowPanels().size(), 1u);
    EXPECT_TRUE(disco().lightShowPanels().contains(screenB)) << "only A's light went out";
    EXPECT_TRUE(disco().hasAnimationTimer());
    clickLauncher(0);
    EXPECT_EQ(disco().lightShowPanels().size(), 2u) << "a dark screen's launcher starts every screen again";
    EXPECT_EQ(keyMonitors(), monitorsBefore + 1) << "the restart keeps one key monitor";

    clickLauncher(0);
    clickLauncher(1);
    EXPECT_FALSE(disco().isRunning());
    EXPECT_FALSE(disco().hasAnimationTimer());
    EXPECT_FALSE(disco().hasKeyMonitor());
    EXPECT_EQ(keyMonitors(), monitorsBefore);
    EXPECT_EQ(disco().launcherPanels().size(), 2u) << "the launchers stay";
}

TEST_F(DiscoLightShowTest, ADoubleClickClosesEverythingWithoutStartingTheShow) {
    disco().presentLauncher();
    mouse.doubleClick(launcher(0));
    advance(2);
    EXPECT_FALSE(disco().isRunning()) << "the first click of a double click started the show";
    EXPECT_TRUE(disco().launcherPanels().empty());
}

TEST_F(DiscoLightShowTest, ALateFrameTurnsTheLightsOnlyATenthOfASecondsWorth) {
    for (const bool reduce : {false, true}) {
        SCOPED_TRACE(reduce ? "reduce motion" : "full motion");
        desktop.setAccessibilityDisplayShouldReduceMotion(reduce);
        disco().startLightShow();
        advance(DiscoLightShowController::frameInterval);
        const double before = disco().rotation();
        EXPECT_GT(before, 0.0);
        stall(0.5);
        EXPECT_NEAR(disco().rotation() - before, reduce ? 0.0108 : 0.054, 1e-9);
        disco().stopLightShow();
    }
}

TEST_F(DiscoLightShowTest, TheShowEndsByItselfAfterThirtySecondsOrOnEscape) {
    disco().startLightShow();
    EXPECT_EQ(disco().launcherPanels().size(), 1u) << "starting shows the launchers first";
    advance(29.9);
    EXPECT_TRUE(disco().isRunning());
    EXPECT_NEAR(disco().animationElapsed(), 29.9, 0.05);
    advance(0.2);
    EXPECT_FALSE(disco().isRunning());
    EXPECT_FALSE(disco().hasKeyMonitor());
    EXPECT_FALSE(disco().hasAnimationTimer());

    disco().startLightShow();
    keyboard.press(std::uint16_t{53});
    EXPECT_FALSE(disco().isRunning());
    EXPECT_FALSE(disco().hasAnimationTimer());
}

TEST_F(DiscoLightShowTest, WithoutItsPictureTheLauncherIsClearButTakesClicks) {
    disco().presentLauncher();
    EXPECT_GT(paintedLauncherPixels(), 100) << "the disco ball should show";
    platform::Bundle::main().setResource("WorkBuddyDiscoBall", "png", std::nullopt);
    disco().presentLauncher();
    EXPECT_EQ(paintedLauncherPixels(), 0);
    clickLauncher(0);
    EXPECT_TRUE(disco().isRunning());
}

TEST_F(DiscoLightShowTest, TheDiscoBallBuddyStartsTheShowOrLeavesWithADoubleClick) {
    ToyRandom::shared().seed(3);
    auto ball = FlySimulationController::shared().makeFly(FlySpriteView::discoBallType, 0, 0, 1.0);
    ball->restingUntil = 1e9;
    mouse.click(ball->window->frame().center());
    EXPECT_FALSE(disco().isRunning()) << "the show waits out the double-click interval";
    advance(desktop.doubleClickInterval() + 0.05);
    EXPECT_TRUE(disco().isRunning());
    EXPECT_FALSE(ball->view->isKilled()) << "the disco ball is never squashed";

    bool removed = false;
    ball->view->onKilled = [&] { removed = true; };
    mouse.doubleClick(ball->window->frame().center());
    advance(1);
    EXPECT_TRUE(removed);
    EXPECT_FALSE(disco().isRunning());
    EXPECT_TRUE(disco().launcherPanels().empty());
}

}  // namespace
}  // namespace tallowmere::testing
