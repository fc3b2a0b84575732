#include "quicklaunch/quick_launch_panel.h"

#include <gtest/gtest.h>

#include "platform/system/user_defaults.h"
#include "quicklaunch/quick_launch_store.h"
#include "support/desktop/desktop_fixture.h"
#include "support/geometry_printing.h"

namespace tallowmere {
namespace {

using platform::ScreenPoint;
using platform::ScreenRect;
using Trigger = QuickLaunchPanel::Trigger;

class QuickLaunchPanelTest : public testing::DesktopTest {
protected:
    QuickLaunchPanel panel{std::make_shared<QuickLaunchStore>()};
};

TEST_F(QuickLaunchPanelTest, OpensCentredBelowThePointKeptInsideTheVisibleFrame) {
    ASSERT_FALSE(panel.panel()->isVisible());
    desktop.screens().setDock({platform::DockEdge::bottom, 70});  // visible y 70 ... 876
    ASSERT_TRUE(panel.show({700, 880}, setup.primaryScreen(), Trigger::menuBarDoubleClick));
    const platform::Size size = panel.panel()->frame().size;
    EXPECT_GT(size.width, 0);
    struct Case {
        const char* where;
        ScreenPoint point;
        ScreenPoint origin;
    } cases[] = {
        {"below the menu bar", {700, 880}, {700 - size.width / 2, 880 - 14 - size.height}},
        {"at the left edge", {5, 880}, {8, 880 - 14 - size.height}},
        {"at the right edge", {1435, 880}, {1440 - 8 - size.width, 880 - 14 - size.height}},
        {"near the Dock: lifted above it", {700, 100}, {700 - size.width / 2, 78}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        EXPECT_TRUE(panel.show(c.point, setup.primaryScreen(), Trigger::menuBarDoubleClick));
        EXPECT_TRUE(panel.panel()->isVisible());
        EXPECT_EQ(panel.panel()->frame(), (ScreenRect{c.origin, size}));
    }
    EXPECT_FALSE(panel.panel()->isKeyWindow()) << "the program is not brought forward";
}

TEST_F(QuickLaunchPanelTest, DeclinesWhenSwitchedOffOrWhenALongPressIsNotMeantForIt) {
    bool longPressAllowed = false;
    panel.allowsLongPress = [&] { return longPressAllowed; };
    EXPECT_FALSE(panel.show({700, 500}, setup.primaryScreen(), Trigger::longPress));
    EXPECT_FALSE(panel.panel()->isVisible());
    EXPECT_TRUE(panel.show({700, 500}, setup.primaryScreen(), Trigger::menuBarDoubleClick))
        << "the menu bar does not ask the long-press choice";
    longPressAllowed = true;
    EXPECT_TRUE(panel.show({700, 500}, setup.primaryScreen(), Trigger::longPress));

    platform::UserDefaults::standard().set("quickLaunchEnabled", false);
    EXPECT_FALSE(panel.show({700, 500}, setup.primaryScreen(), Trigger::menuBarDoubleClick));
    EXPECT_FALSE(panel.panel()->isVisible()) << "an open panel is taken away";
    platform::UserDefaults::standard().set("quickLaunchEnabled", "no");
    EXPECT_TRUE(panel.show({700, 500}, setup.primaryScreen(), Trigger::menuBarDoubleClick))
        << "a value that is no Boolean leaves quick launch on";
}

}  // namespace
}  // namespace tallowmere
