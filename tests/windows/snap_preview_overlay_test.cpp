#include "windows/snap_preview_overlay.h"

#include <gtest/gtest.h>

#include "app/appearance_preferences.h"
#include "platform/ui/view.h"
#include "support/desktop/desktop_fixture.h"
#include "support/geometry_printing.h"

namespace tallowmere {
namespace {

using platform::AXRect;
using platform::Color;
using platform::ScreenRect;

class SnapPreviewOverlayTest : public testing::DesktopTest {
protected:
    SnapPreviewOverlay overlay;
};

TEST_F(SnapPreviewOverlayTest, FirstPreviewMakesAClickThroughFloatingWindow) {
    EXPECT_EQ(overlay.overlayWindow(), nullptr);
    overlay.show({0, 24, 720, 876});
    const auto& window = overlay.overlayWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->frame(), (ScreenRect{0, 0, 720, 876}));
    EXPECT_TRUE(window->styleMask().isBorderless());
    EXPECT_FALSE(window->isOpaque());
    EXPECT_EQ(window->backgroundColor(), Color::clear());
    EXPECT_FALSE(window->hasShadow());
    EXPECT_TRUE(window->ignoresMouseEvents());
    EXPECT_EQ(window->level(), 3);
    EXPECT_EQ(window->collectionBehavior().rawValue, 273u);

    const auto& layer = window->contentView()->layer();
    const Color blue = Color::system(platform::SystemColor::blue);
    EXPECT_EQ(layer.cornerRadius, 14);
    EXPECT_TRUE(layer.continuousCorners);
    EXPECT_TRUE(layer.masksToBounds);
    EXPECT_EQ(layer.borderWidth, 2);
    EXPECT_EQ(layer.borderColor, blue.withAlphaComponent(0.72));
    EXPECT_EQ(layer.backgroundColor, blue.withAlphaComponent(0.09));
    EXPECT_EQ(window->contentView()->frame(), (platform::Rect{0, 0, 720, 876}));
}

TEST_F(SnapPreviewOverlayTest, LaterPreviewsMoveTheSameWindowInTheColourOfTheMoment) {
    overlay.show({0, 24, 720, 876});
    const auto first = overlay.overlayWindow();

    // The colour changes in the settings while the preview is up.
    const Color orange = Color::deviceRGB(1, 0.5, 0, 1);
    AppearancePreferences::setOutlineColor(orange);
    overlay.show({720, 24, 720, 438});
    EXPECT_EQ(overlay.overlayWindow(), first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->frame(), (ScreenRect{720, 438, 720, 438}));
    const auto& layer = first->contentView()->layer();
    EXPECT_EQ(layer.borderColor.rgba(), orange.withAlphaComponent(0.72).rgba());
    EXPECT_EQ(layer.backgroundColor->rgba(), orange.withAlphaComponent(0.09).rgba());

    overlay.hide();
    EXPECT_FALSE(first->isVisible());
    overlay.show({0, 24, 720, 876});
    EXPECT_EQ(overlay.overlayWindow(), first) << "hiding keeps the window for the next preview";
    EXPECT_TRUE(first->isVisible());
}

TEST_F(SnapPreviewOverlayTest, FramesOnScreensAboveOrLeftUseThePrimaryHeight) {
    setup.addScreen({.frame = {0, 900, 1440, 900}, .isBuiltIn = false});
    setup.addScreen({.frame = {-1280, 100, 1280, 800}, .isBuiltIn = false});
    struct Case {
        const char* where;
        AXRect frame;
        ScreenRect expected;
    } cases[] = {
        {"left half of the screen above", {0, -900, 720, 900}, {0, 900, 720, 900}},
        {"screen to the left, shifted up", {-1280, 0, 640, 800}, {-1280, 100, 640, 800}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        overlay.show(c.frame);
        EXPECT_EQ(overlay.overlayWindow()->frame(), c.expected);
    }
}

TEST_F(SnapPreviewOverlayTest, ClicksReachTheWindowUnderneath) {
    auto window = setup.addFrontWindow({.bundleIdentifier = "com.example.notes", .name = "Notes"},
                                       {.title = "Notes", .frame = {100, 100, 800, 600}});
    overlay.show({0, 24, 1440, 876});
    auto other = setup.addApplication({.bundleIdentifier = "com.example.other", .name = "Other"});
    desktop.activate(*other);
    mouse.click(desktop.screens().toScreen(platform::AXPoint{400, 400}));
    EXPECT_EQ(desktop.frontmostApplication()->bundleIdentifier(), "com.example.notes");
    EXPECT_TRUE(window->isFocused());
}

}  // namespace
}  // namespace tallowmere
