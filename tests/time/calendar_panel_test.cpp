#include "time/calendar_panel_controller.h"

#include <gtest/gtest.h>

#include "platform/desktop/window_level.h"
#include "support/geometry_printing.h"
#include "time/calendar_panel_fixture.h"
#include "time/calendar_panel_placement.h"

namespace tallowmere::testing {
namespace {

using platform::ScreenPoint;
using platform::ScreenRect;

TEST(CalendarPanelPlacementTest, HangsUnderTheAnchorInsideTheVisibleFrame) {
    const ScreenRect screen{0, 0, 1440, 876};
    struct Case {
        const char* what;
        ScreenPoint anchor;
        ScreenRect area;
        ScreenRect frame;
    } cases[] = {
        {"centred 6 pt below", {720, 800}, screen, {520, 134, 400, 660}},
        // Under the menu bar the top bound holds it 10 pt inside.
        {"under the menu bar", {720, 876}, screen, {520, 206, 400, 660}},
        {"near the right edge", {1430, 800}, screen, {1030, 134, 400, 660}},
        {"near the left edge", {5, 800}, screen, {10, 134, 400, 660}},
        {"near the bottom", {720, 300}, screen, {520, 10, 400, 660}},
        {"above the top", {720, 2000}, screen, {520, 206, 400, 660}},
        // Too small a screen: the upper bounds win, the top-left stays in view.
        {"a small screen", {190, 600}, {0, 0, 380, 600}, {-30, -70, 400, 660}},
        {"a second screen", {2000, 1100}, {1440, 0, 1920, 1176}, {1800, 434, 400, 660}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(CalendarPanelPlacement::frame(c.anchor, c.area), c.frame);
    }
}

TEST_F(CalendarPanelTest, AreaIsTheAnchorsScreenElseTheMainOne) {
    const auto second = setup.addScreen({.frame = {1440, 0, 1920, 1200}, .isBuiltIn = false});
    ASSERT_TRUE(second);
    const ScreenRect primaryArea = desktop.screens().primaryScreen()->visibleFrame();
    EXPECT_EQ(CalendarPanelPlacement::area(desktop.screens(), {2000, 600}), second->visibleFrame());
    EXPECT_EQ(CalendarPanelPlacement::area(desktop.screens(), {100, 100}), primaryArea);
    EXPECT_EQ(CalendarPanelPlacement::area(desktop.screens(), {-500, 5000}), primaryArea)
        << "an anchor outside every screen goes to the main screen";
    const auto attached = desktop.screens().onlineDisplays();
    for (const auto& screen : attached) desktop.screens().removeScreen(screen);
    EXPECT_EQ(CalendarPanelPlacement::area(desktop.screens(), {10, 10}), (ScreenRect{0, 0, 1200, 800}));
}

TEST_F(CalendarPanelTest, ShowsAFreshPopUpPanelUnderTheAnchor) {
    setToday("2026-09-30T10:00:00+08:00");
    auto view = open();
    ASSERT_TRUE(view);
    auto panel = controller().panel();
    EXPECT_TRUE(panel->isVisible());
    EXPECT_TRUE(panel->isKeyWindow());
    EXPECT_FALSE(panel->canBecomeMain());
    EXPECT_EQ(panel->frame(), (ScreenRect{520, 206, 400, 660}));
    EXPECT_EQ(panel->level(), platform::WindowLevel::popUpMenu);
    EXPECT_TRUE(panel->collectionBehavior().contains(platform::WindowCollectionBehavior::canJoinAllSpaces |
                                                     platform::WindowCollectionBehavior::transient |
                                                     platform::WindowCollectionBehavior::fullScreenAuxiliary));
    EXPECT_TRUE(panel->styleMask().isBorderless());
    EXPECT_FALSE(panel->isOpaque());
    EXPECT_EQ(view->monthLabel().stringValue(), "2026年9月");

    // A toggle closes it; the next one builds a new view on the current month.
    view->showNextMonth();
    controller().toggleCalendar({720, 876});
    EXPECT_FALSE(panel->isVisible());
    controller().toggleCalendar({720, 876});
    EXPECT_TRUE(controller().isVisible());
    EXPECT_NE(controller().panel(), panel);
    EXPECT_NE(controller().contentView(), view);
    EXPECT_EQ(controller().contentView()->monthLabel().stringValue(), "2026年9月");
}

TEST_F(CalendarPanelTest, StaysInsideTheScreenItOpensOn) {
    struct Case {
        const char* what;
        ScreenRect screen;
        ScreenPoint anchor;
        ScreenRect frame;
    } cases[] = {
        {"near the right edge", {0, 0, 1440, 900}, {1435, 876}, {1030, 206, 400, 660}},
        {"near the bottom", {0, 0, 1440, 900}, {300, 200}, {100, 10, 400, 660}},
        {"a screen smaller than the panel", {0, 0, 380, 600}, {190, 576}, {-30, -94, 400, 660}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(desktop.screens().reconfigure(desktop.screens().primaryScreen(), c.screen));
        controller().toggleCalendar(c.anchor);
        ASSERT_TRUE(controller().isVisible());
        EXPECT_EQ(controller().panel()->frame(), c.frame);
        controller().hideCalendar();
    }
}

TEST_F(CalendarPanelTest, OpensUnderTheMouseFromTheMenu) {
    mouse.moveTo({1400, 500});
    auto sender = platform::Button::make();
    controller().toggleCalendarFromMenu(*sender);
    ASSERT_TRUE(controller().isVisible());
    EXPECT_EQ(controller().panel()->frame(), (ScreenRect{1030, 10, 400, 660}));
    controller().toggleCalendarFromMenu(*sender);
    EXPECT_FALSE(controller().isVisible());
}

TEST_F(CalendarPanelTest, AClickOutsideClosesItAClickInsideDoesNot) {
    setToday("2026-09-30T10:00:00+08:00");
    auto other = setup.addFrontWindow({.bundleIdentifier = "com.example.notes", .name = "Notes"},
                                      {.frame = {40, 60, 300, 200}});
    ASSERT_TRUE(other);
    auto view = open();
    ASSERT_TRUE(view);

    // A click on a cell of the panel selects the day and keeps it open.
    const auto cell = view->dayButtons()[4];
    mouse.click(cell->convertToScreen(cell->bounds()).center());
    runUntilIdle();
    EXPECT_TRUE(controller().isVisible());
    EXPECT_EQ(view->selectedDateLabel().stringValue(), "9月4日 星期五 日程");

    mouse.click({100, 700});  // in the other application's window
    runUntilIdle();
    EXPECT_FALSE(controller().isVisible());
    EXPECT_EQ(platform::EventMonitors::shared().globalMonitorCount(), 0u);
    EXPECT_EQ(platform::EventMonitors::shared().localMonitorCount(), 0u);

    // A click in another window of the program closes it too.
    open();
    auto window = platform::Window::make(ScreenRect{1000, 700, 200, 100}, platform::WindowStyleMask::titled);
    window->setContentView(platform::View::make({0, 0, 200, 100}));
    window->orderFront();
    mouse.click({1100, 740});
    runUntilIdle();
    EXPECT_FALSE(controller().isVisible());

    // Hiding without a panel only stops the monitors.
    controller().hideCalendar();
    EXPECT_FALSE(controller().isVisible());
}

TEST_F(CalendarPanelTest, TheCloseButtonHidesIt) {
    auto view = open();
    ASSERT_TRUE(view);
    view->closePanel();
    EXPECT_FALSE(controller().isVisible());
    EXPECT_EQ(platform::EventMonitors::shared().localMonitorCount(), 0u);
}

TEST_F(CalendarPanelTest, OneReminderTimerAfterManyOpenings) {
    runUntilIdle();
    const auto before = context().mainQueue().pendingCount();
    for (int i = 0; i < 10; ++i) {
        controller().toggleCalendar({720, 876});
        runUntilIdle();
        controller().toggleCalendar({720, 876});
        runUntilIdle();
    }
    open();
    EXPECT_EQ(context().mainQueue().pendingCount(), before + 1) << "only the shown view's timer is scheduled";

    // A view taken out of its window stops its timer.
    auto view = controller().contentView();
    ASSERT_TRUE(view->hasReminderTimer());
    controller().panel()->setContentView(nullptr);
    EXPECT_FALSE(view->hasReminderTimer());
    EXPECT_EQ(context().mainQueue().pendingCount(), before);
}

TEST_F(CalendarPanelTest, TodaysBlockTurnsOverAtMidnight) {
    setToday("2026-09-30T23:59:30+08:00");
    auto view = open();
    ASSERT_TRUE(view);
    EXPECT_EQ(view->brandDateLabel().stringValue(), "9月30日 星期三");
    EXPECT_EQ(view->heroDateLabel().stringValue(), "下一站假期 · 国庆节");
    EXPECT_EQ(view->heroDayLabel().stringValue(), "再过  1 天，就放假");
    EXPECT_EQ(view->heroLunarLabel().stringValue(), "别忘啦 · 明天是国庆节");
    view->showNextMonth();  // the block speaks of today whatever is shown

    advance(60);
    EXPECT_EQ(view->brandDateLabel().stringValue(), "10月1日 星期四");
    EXPECT_EQ(view->heroDateLabel().stringValue(), "假期进行中 · 国庆节");
    EXPECT_EQ(view->heroDayLabel().stringValue(), "正在放假");
    EXPECT_EQ(view->heroLunarLabel().stringValue(), "今日小记 · 国庆节");
}

}  // namespace
}  // namespace tallowmere::testing
