#include "windows/screen_geometry.h"

#include <gtest/gtest.h>

#include "platform/ui/window.h"
#include "support/geometry_printing.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere {
namespace {

using platform::AXPoint;
using platform::AXRect;
using platform::ScreenPoint;
using platform::ScreenRect;

class ScreenGeometryTest : public testing::DesktopTest {};

TEST_F(ScreenGeometryTest, ConvertsThroughThePrimaryHeightWhicheverScreenHoldsThePoint) {
    // A taller screen to the right of the primary, and one above it.
    setup.addScreen({.frame = {1440, 0, 1920, 1200}, .isBuiltIn = false});
    setup.addScreen({.frame = {0, 900, 1440, 900}, .isBuiltIn = false});
    ASSERT_EQ(ScreenGeometry::mainHeight(), 900);
    struct Case {
        const char* where;
        ScreenPoint screen;
        AXPoint ax;
    } cases[] = {
        {"primary's top-left corner", {0, 900}, {0, 0}},
        {"primary's bottom-left corner", {0, 0}, {0, 900}},
        {"right screen, above the primary's top", {2000, 1200}, {2000, -300}},
        {"right screen's bottom", {3000, 0}, {3000, 900}},
        {"screen above: negative Accessibility y", {100, 1700}, {100, -800}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        EXPECT_EQ(ScreenGeometry::toAccessibility(c.screen), c.ax);
        EXPECT_EQ(ScreenGeometry::toScreen(c.ax), c.screen);
    }
    // A rectangle flips about its top edge, not its origin.
    EXPECT_EQ(ScreenGeometry::toAccessibility(ScreenRect{100, 1000, 300, 200}), (AXRect{100, -300, 300, 200}));
    EXPECT_EQ(ScreenGeometry::toScreen(AXRect{100, -300, 300, 200}), (ScreenRect{100, 1000, 300, 200}));
}

TEST_F(ScreenGeometryTest, MainHeightFollowsThePrimaryScreenOnly) {
    auto right = setup.addScreen({.frame = {1440, 0, 1920, 1080}, .isBuiltIn = false});
    // The key window on the other screen makes that the main screen, but
    // conversions still reflect about the primary screen.
    auto window = platform::Window::make(ScreenRect{1600, 200, 400, 300}, platform::WindowStyleMask::titled);
    window->makeKeyAndOrderFront();
    EXPECT_EQ(ScreenGeometry::mainScreen(), right);
    EXPECT_EQ(ScreenGeometry::primaryScreen(), setup.primaryScreen());
    EXPECT_EQ(ScreenGeometry::mainHeight(), 900);

    desktop.screens().removeScreen(setup.primaryScreen());
    desktop.screens().removeScreen(right);
    EXPECT_EQ(ScreenGeometry::primaryScreen(), nullptr);
    EXPECT_EQ(ScreenGeometry::mainHeight(), 0);
}

TEST_F(ScreenGeometryTest, PointerFindsItsScreenOrFallsBackToTheMainScreen) {
    auto primary = setup.primaryScreen();
    auto right = setup.addScreen({.frame = {1440, 0, 1920, 1080}, .isBuiltIn = false});
    auto above = setup.addScreen({.frame = {0, 900, 1440, 900}, .isBuiltIn = false});
    struct Case {
        const char* where;
        ScreenPoint pointer;
        std::shared_ptr<platform::Screen> screen;
    } cases[] = {
        {"inside the primary", {700, 400}, primary},
        {"bottom-left corner belongs to its screen", {0, 0}, primary},
        {"shared vertical edge belongs to the screen to the right", {1440, 400}, right},
        {"primary's top edge belongs to the screen above", {700, 900}, above},
        {"right screen above the primary's height", {2000, 1000}, right},
        {"outside every screen: the main screen", {-50, -50}, primary},
        {"far right of the right screen's edge", {3360, 10}, primary},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        EXPECT_EQ(ScreenGeometry::screenContainingMousePoint(c.pointer), c.screen);
    }
}

TEST_F(ScreenGeometryTest, PointerOnTheOuterTopEdgeIsOnNoScreenAndGetsTheMainScreen) {
    // With a key window on the right screen, the fallback is visibly the
    // main screen and not the primary, whose frame the pointer touches.
    auto right = setup.addScreen({.frame = {1440, 0, 1920, 1080}, .isBuiltIn = false});
    auto window = platform::Window::make(ScreenRect{1600, 200, 400, 300}, platform::WindowStyleMask::titled);
    window->makeKeyAndOrderFront();
    EXPECT_EQ(ScreenGeometry::screenContainingMousePoint({700, 900}), right);
    EXPECT_EQ(ScreenGeometry::screenContainingMousePoint({700, 899.5}), setup.primaryScreen());
}

TEST_F(ScreenGeometryTest, WindowFrameBelongsToTheScreenHoldingItsCentre) {
    auto primary = setup.primaryScreen();
    auto above = setup.addScreen({.frame = {0, 900, 1440, 900}, .isBuiltIn = false});
    struct Case {
        const char* what;
        AXRect frame;
        std::shared_ptr<platform::Screen> screen;
    } cases[] = {
        {"on the primary", {100, 100, 800, 600}, primary},
        {"mostly above, centre above", {100, -500, 800, 600}, above},
        {"centre just below the shared edge", {100, -299, 800, 600}, primary},
        {"off every screen", {5000, 5000, 100, 100}, primary},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ScreenGeometry::screenContainingAccessibilityFrame(c.frame), c.screen);
    }
}

}  // namespace
}  // namespace tallowmere
