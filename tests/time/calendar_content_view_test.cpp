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

TEST_F(CalendarContentViewTest, LaysOutTheHeaderAndControls) {
    using platform::Font;
    using platform::FontWeight;
    using platform::Rect;
    auto view = open();
    ASSERT_TRUE(view);
    EXPECT_EQ(view->frame(), (Rect{0, 0, 400, 660}));
    EXPECT_EQ(view->layer().cornerRadius, 22);
    EXPECT_EQ(view->layer().borderWidth, 1);

    // Every subview a person reads or presses, found as a person finds it.
    auto find = [&](const std::string& text) -> std::shared_ptr<platform::Control> {
        for (const auto& subview : view->subviews()) {
            auto control = std::dynamic_pointer_cast<platform::Control>(subview);
            auto label = std::dynamic_pointer_cast<platform::Label>(subview);
            auto button = std::dynamic_pointer_cast<platform::Button>(subview);
            if (control && (subview->toolTip() == text || (label && label->stringValue() == text) ||
                            (button && button->title() == text))) {
                return control;
            }
        }
        return nullptr;
    };
    struct Case {
        std::string text;
        Rect frame;
        std::optional<Font> font;
    } cases[] = {
        {"塔洛梅日历", {66, 630, 218, 22}, Font::systemFont(16, FontWeight::bold)},
        {"9月30日 星期三", {66, 610, 218, 18}, Font::systemFont(11, FontWeight::medium)},
        {"下一站假期 · 国庆节", {30, 574, 280, 21}, Font::systemFont(13, FontWeight::semibold)},
        {"别忘啦 · 明天是国庆节", {30, 504, 338, 20}, Font::systemFont(13)},
        {"上个月", {24, 450, 30, 30}, std::nullopt},
        {"2026年9月", {64, 449, 220, 31}, Font::monospacedDigitSystemFont(22, FontWeight::bold)},
        {"下个月", {348, 450, 30, 30}, std::nullopt},
        {"今天", {290, 452, 48, 26}, std::nullopt},
        {"关闭", {352, 620, 26, 26}, std::nullopt},
        {"一", {22, 421, 48, 20}, Font::systemFont(12)},
        {"日", {22 + 51 * 6, 421, 48, 20}, Font::systemFont(12)},
        {"今日日程", {30, 101, 340, 22}, Font::systemFont(13.5)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        auto control = find(c.text);
        ASSERT_TRUE(control) << "nothing shows it";
        EXPECT_EQ(control->frame(), c.frame);
        if (c.font) {
            EXPECT_EQ(control->font(), *c.font);
        }
    }
    EXPECT_EQ(view->heroDayLabel().frame(), (Rect{30, 529, 282, 43}));
    EXPECT_EQ(view->dayButtons().back()->frame(), (Rect{22 + 51 * 6, 375 - 45 * 5, 48, 42}));
}

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
    int promptLevel = 0;
    alerts.answerWith([&](platform::Alert& alert) {
        promptLevel = alert.window()->level();
        return platform::ModalResponses::alertFirstButton;
    });
    auto button = std::dynamic_pointer_cast<platform::Button>(view->eventStack().arrangedSubviews().back());
    ASSERT_TRUE(button);
    button->performClick();
    ASSERT_EQ(alerts.count(), 1u);
    EXPECT_NE(alerts.last().messageText.find("calendars"), std::string::npos);
    EXPECT_GT(promptLevel, controller().panel()->level()) << "the prompt shows above the drop-down";
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
