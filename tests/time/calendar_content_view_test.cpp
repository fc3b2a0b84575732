#include "time/calendar_content_view.h"

#include <gtest/gtest.h>

#include "time/calendar_day_events.h"
#include "time/calendar_panel_fixture.h"

namespace tallowmere::testing {
namespace {

using platform::CalendarAuthorizationStatus;

class CalendarContentViewTest : public CalendarPanelTest {
protected:
    void SetUp() override { setToday("2026-09-30T10:00:00+08:00"); }

    // Clicks cell `index` as a person would.
    static void clickCell(CalendarContentView& view, int index) {
        view.dayButtons()[static_cast<std::size_t>(index)]->performClick();
    }
    static std::vector<int> selectedCells(const CalendarContentView& view) {
        std::vector<int> selected;
        for (const auto& cell : view.dayButtons()) {
            if (cell->isSelectedDate) selected.push_back(cell->tag());
        }
        return selected;
    }
};

TEST_F(CalendarContentViewTest, OpensOnTodayAndNavigatesKeepingTheSelection) {
    auto view = open();
    ASSERT_TRUE(view);
    ASSERT_EQ(view->dayButtons().size(), 42u);
    EXPECT_EQ(view->dayButtons()[9]->frame(), (platform::Rect{22 + 51 * 2, 375 - 45, 48, 42})) << "row 1, column 2";
    EXPECT_EQ(view->monthLabel().stringValue(), "2026年9月");
    EXPECT_EQ(selectedCells(*view), std::vector<int>{30}) << "30 September, after one leading day";
    EXPECT_TRUE(view->dayButtons()[30]->isTodayDate);

    view->showNextMonth();
    EXPECT_EQ(view->monthLabel().stringValue(), "2026年10月");
    EXPECT_EQ(view->dayButtons()[3]->lunarText, "国庆节");
    EXPECT_EQ(selectedCells(*view), std::vector<int>{2}) << "the leading 30 September stays selected";
    view->showNextMonth();
    view->showPreviousMonth();
    view->showPreviousMonth();
    view->showPreviousMonth();
    EXPECT_EQ(view->monthLabel().stringValue(), "2026年8月");
    EXPECT_TRUE(selectedCells(*view).empty()) << "30 September is not in August's grid";

    // A trailing cell of the next month moves the grid there, with that day selected.
    clickCell(*view, 41);  // 6 September
    EXPECT_EQ(view->monthLabel().stringValue(), "2026年9月");
    EXPECT_EQ(selectedCells(*view), std::vector<int>{6});
    EXPECT_EQ(view->selectedDateLabel().stringValue(), "9月6日 星期日 日程");

    // A cell of the shown month only selects.
    clickCell(*view, 10);
    EXPECT_EQ(view->monthLabel().stringValue(), "2026年9月");
    EXPECT_EQ(selectedCells(*view), std::vector<int>{10});

    view->showNextMonth();
    view->showNextMonth();
    view->showToday();
    EXPECT_EQ(view->monthLabel().stringValue(), "2026年9月");
    EXPECT_EQ(selectedCells(*view), std::vector<int>{30});
    EXPECT_EQ(view->selectedDateLabel().stringValue(), "今日日程");
}

TEST_F(CalendarContentViewTest, EachAccessStateGivesItsRows) {
    addEvent("2026-09-30T09:30:00+08:00", "周会");
    struct Case {
        CalendarAuthorizationStatus status;
        std::vector<std::string> rows;
        bool marked;
    } cases[] = {
        {CalendarAuthorizationStatus::notDetermined, {CalendarDayEvents::notDecidedHint, "[读取系统日历]"}, false},
        {CalendarAuthorizationStatus::denied, {CalendarDayEvents::noAccessHint}, false},
        {CalendarAuthorizationStatus::restricted, {CalendarDayEvents::noAccessHint}, false},
        {CalendarAuthorizationStatus::writeOnly, {CalendarDayEvents::noAccessHint}, false},
        {CalendarAuthorizationStatus::fullAccess, {"09:30  周会"}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(platform::rawValue(c.status)));
        calendars().setAuthorizationStatus(c.status);
        auto view = open();
        ASSERT_TRUE(view);
        EXPECT_EQ(rows(*view), c.rows);
        EXPECT_EQ(markedCells(*view), c.marked ? std::vector<int>{30} : std::vector<int>{});
        controller().hideCalendar();
    }
}

TEST_F(CalendarContentViewTest, GrantingAccessAtThePromptShowsTheEvents) {
    addEvent("2026-09-30T09:30:00+08:00", "周会");
    addEvent("2026-10-02T00:00:00+08:00", "出游", true, "家庭");
    auto view = open();
    ASSERT_TRUE(view);
    alerts.answer(platform::ModalResponses::alertFirstButton);
    auto button = std::dynamic_pointer_cast<platform::Button>(view->eventStack().arrangedSubviews().back());
    ASSERT_TRUE(button);
    button->performClick();
    ASSERT_EQ(alerts.count(), 1u);
    EXPECT_NE(alerts.last().messageText.find("calendars"), std::string::npos);
    runUntilIdle();
    EXPECT_EQ(calendars().authorizationStatus(), CalendarAuthorizationStatus::fullAccess);
    EXPECT_EQ(rows(*view), std::vector<std::string>{"09:30  周会"});
    EXPECT_EQ(markedCells(*view), (std::vector<int>{30, 32}));

    // Once decided, asking again shows no prompt.
    view->requestCalendarAccess();
    EXPECT_EQ(alerts.count(), 1u);
}

TEST_F(CalendarContentViewTest, RefusingAtThePromptLeavesTheHint) {
    addEvent("2026-09-30T09:30:00+08:00", "周会");
    auto view = open();
    ASSERT_TRUE(view);
    alerts.answer(platform::ModalResponses::alertSecondButton);
    view->requestCalendarAccess();
    runUntilIdle();
    EXPECT_EQ(calendars().authorizationStatus(), CalendarAuthorizationStatus::denied);
    EXPECT_EQ(rows(*view), std::vector<std::string>{CalendarDayEvents::noAccessHint});
    EXPECT_TRUE(markedCells(*view).empty());
}

TEST_F(CalendarContentViewTest, RowsOfADay) {
    calendars().setAuthorizationStatus(CalendarAuthorizationStatus::fullAccess);
    addEvent("2026-10-02T14:00:00+08:00", std::nullopt);
    addEvent("2026-10-02T09:05:00+08:00", "晨会");
    addEvent("2026-10-02T00:00:00+08:00", "国庆出游", true, "家庭");
    addEvent("2026-10-02T18:00:00+08:00", "   ");
    addEvent("2026-10-03T09:00:00+08:00", "次日");
    auto view = open();
    ASSERT_TRUE(view);
    view->showNextMonth();
    EXPECT_EQ(markedCells(*view), (std::vector<int>{4, 5}));

    clickCell(*view, 4);  // 2 October
    EXPECT_EQ(view->selectedDateLabel().stringValue(), "10月2日 星期五 日程");
    EXPECT_EQ(view->selectedDateLabel().toolTip(), "廿二 · 放假");
    EXPECT_EQ(rows(*view),
              (std::vector<std::string>{"全天  国庆出游", "09:05  晨会", "14:00  未命名日程", "18:00  未命名日程"}));

    clickCell(*view, 3);
    EXPECT_EQ(view->selectedDateLabel().toolTip(), "廿一 · 国庆节 · 放假");
    EXPECT_EQ(rows(*view), std::vector<std::string>{CalendarDayEvents::noEventsHint});
    clickCell(*view, 12);
    EXPECT_EQ(view->selectedDateLabel().toolTip(), "九月 · 调休上班");
}

TEST_F(CalendarContentViewTest, LongTitlesWrapWithinTwoLines) {
    calendars().setAuthorizationStatus(CalendarAuthorizationStatus::fullAccess);
    std::string longTitle;
    for (int i = 0; i < 40; ++i) longTitle += "很长的日程标题 ";
    addEvent("2026-09-30T09:00:00+08:00", longTitle);
    addEvent("2026-09-30T10:00:00+08:00", "第一行\n第二行\n第三行\n第四行");
    addEvent("2026-09-30T11:00:00+08:00", "短");
    auto view = open();
    ASSERT_TRUE(view);
    const auto& arranged = view->eventStack().arrangedSubviews();
    ASSERT_EQ(arranged.size(), 3u);
    auto label = [&](std::size_t i) { return std::dynamic_pointer_cast<platform::Label>(arranged[i]); };
    const double oneLine = label(2)->fittingSize().height;
    for (std::size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(label(i));
        EXPECT_EQ(label(i)->maximumNumberOfLines(), 2);
        const double height = label(i)->fittingHeightForWidth(316);
        EXPECT_GT(height, oneLine * 1.5);
        EXPECT_LT(height, oneLine * 2.5) << "no more than two lines";
        EXPECT_LE(label(i)->fittingSize().width, 316);
    }
}

}  // namespace
}  // namespace tallowmere::testing
