#include <gtest/gtest.h>

#include "app/app_delegate_fixture.h"
#include "platform/ui/status_bar_button.h"
#include "platform/ui/status_item.h"
#include "support/geometry_printing.h"
#include "support/scoped_time_zone.h"
#include "time/calendar_content_view.h"
#include "time/calendar_floating_panel.h"
#include "time/calendar_panel_controller.h"
#include "time/calendar_panel_placement.h"

namespace tallowmere::testing {
namespace {

class CalendarStatusItemTest : public AppDelegateTest {
protected:
    ScopedTimeZone zone_{"Asia/Shanghai"};
};

TEST_F(CalendarStatusItemTest, AClickOnTheItemTogglesTheDropDownUnderIt) {
    launch();
    runUntilIdle();
    auto item = delegate().calendarStatusItem();
    ASSERT_TRUE(item && item->button());
    const auto button = item->button();
    const auto itemFrame = button->convertToScreen(button->bounds());
    auto& controller = CalendarPanelController::shared();

    menuBar.click(*item);
    runUntilIdle();
    ASSERT_TRUE(controller.isVisible()) << "the drop-down opens";
    const auto panelFrame = controller.panel()->frame();
    const auto area = desktop.screens().primaryScreen()->visibleFrame();
    EXPECT_EQ(panelFrame, CalendarPanelPlacement::frame({itemFrame.midX(), itemFrame.minY()}, area))
        << "anchored at the middle of the item's lower edge";
    EXPECT_LE(panelFrame.maxY(), itemFrame.minY() - 6) << "hanging below the item";
    EXPECT_LE(panelFrame.maxX(), area.maxX() - 10) << "inside the screen's right edge";
    auto firstView = controller.contentView();

    // The second click closes it, although the outside-click monitor saw it too.
    menuBar.click(*item);
    runUntilIdle();
    EXPECT_FALSE(controller.isVisible());

    menuBar.click(*item);
    runUntilIdle();
    EXPECT_TRUE(controller.isVisible());
    EXPECT_NE(controller.contentView(), firstView) << "a new view at every showing";
}

}  // namespace
}  // namespace tallowmere::testing
