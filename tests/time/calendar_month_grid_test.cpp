#include "time/calendar_month_grid.h"

#include <gtest/gtest.h>

#include "support/scoped_time_zone.h"

namespace tallowmere {
namespace {

using platform::CalendarDay;

class CalendarMonthGridTest : public ::testing::Test {
protected:
    testing::ScopedTimeZone zone_{"Asia/Shanghai"};
    CalendarDayLookup days_;

    CalendarMonthGrid gridOf(CalendarDay shown, CalendarDay today) const {
        // Any instant of the month will do: take the evening, not midnight.
        return CalendarMonthGrid::make(days_.gregorian().startOfDay(shown).addingTimeInterval(20 * 3600),
                                       days_.gregorian().startOfDay(today).addingTimeInterval(3600), days_);
    }
};

TEST_F(CalendarMonthGridTest, OctoberTwentyTwentySixCells) {
    const auto grid = gridOf({2026, 10, 15}, {2026, 9, 30});
    EXPECT_EQ(grid.monthLabel(), "2026年10月");
    EXPECT_EQ(grid.leadingDays, 3) << "1 October 2026 is a Thursday";

    enum Flag { current = 1, today = 2, weekend = 4, festival = 8 };
    struct Case {
        int index;
        const char* dayText;
        const char* second;
        int flags;
        std::optional<CalendarWorkdayKind> kind;
    } cases[] = {
        {0, "28", "十八", 0, std::nullopt},
        {2, "30", "二十", today, std::nullopt},
        {3, "1", "国庆节", current | festival, CalendarWorkdayKind::rest},
        {5, "3", "廿三", current | weekend, CalendarWorkdayKind::rest},
        {9, "7", "廿七", current, CalendarWorkdayKind::rest},
        {10, "8", "廿八", current, std::nullopt},
        // A make-up workday shows it, even on a Saturday.
        {12, "10", "调休上班", current | weekend, CalendarWorkdayKind::work},
        {13, "11", "初二", current | weekend, std::nullopt},
        {20, "18", "重阳", current | weekend | festival, std::nullopt},
        {33, "31", "廿二", current | weekend, std::nullopt},
        {34, "1", "廿三", weekend, std::nullopt},
        {41, "8", "三十", weekend, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        const auto& cell = grid.cells[static_cast<std::size_t>(c.index)];
        EXPECT_EQ(cell.dayText, c.dayText);
        EXPECT_EQ(cell.lunarText, c.second);
        EXPECT_EQ(cell.isCurrentMonth, (c.flags & current) != 0);
        EXPECT_EQ(cell.isTodayDate, (c.flags & today) != 0);
        EXPECT_EQ(cell.isWeekend, (c.flags & weekend) != 0);
        EXPECT_EQ(cell.isFestival, (c.flags & festival) != 0);
        EXPECT_EQ(cell.workdayKind, c.kind);
        EXPECT_EQ(cell.date, days_.gregorian().startOfDay(cell.day)) << "a cell's date is the start of its day";
    }
}

TEST_F(CalendarMonthGridTest, LeadingDaysFollowTheFirstWeekday) {
    struct Case {
        CalendarDay shown;
        int leading;
        CalendarDay firstCell;
        CalendarDay lastCell;
    } cases[] = {
        {{2026, 6, 20}, 0, {2026, 6, 1}, {2026, 7, 12}},    // begins on Monday
        {{2026, 2, 1}, 6, {2026, 1, 26}, {2026, 3, 8}},     // begins on Sunday
        {{2026, 10, 31}, 3, {2026, 9, 28}, {2026, 11, 8}},  // the last day still shows its own month
        {{2026, 12, 1}, 1, {2026, 11, 30}, {2027, 1, 10}},  // into the next year
        {{2024, 2, 29}, 3, {2024, 1, 29}, {2024, 3, 10}},   // a leap February
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown.isoText());
        const auto grid = gridOf(c.shown, c.shown);
        EXPECT_EQ(grid.leadingDays, c.leading);
        EXPECT_EQ(grid.firstVisibleDay(), c.firstCell);
        EXPECT_EQ(grid.lastVisibleDay(), c.lastCell);
        const auto first = grid.cells[static_cast<std::size_t>(c.leading)];
        EXPECT_EQ(first.dayText, "1");
        EXPECT_TRUE(first.isCurrentMonth);
        if (c.leading > 0) {
            EXPECT_FALSE(grid.cells[static_cast<std::size_t>(c.leading - 1)].isCurrentMonth);
        }
        EXPECT_EQ(grid.cellIndex(c.shown), c.leading + c.shown.day - 1);
    }
}

TEST_F(CalendarMonthGridTest, FebruaryRestAndMakeUpDays) {
    const auto grid = gridOf({2026, 2, 1}, {2026, 2, 3});
    struct Case {
        CalendarDay day;
        const char* second;
        std::optional<CalendarWorkdayKind> kind;
    } cases[] = {
        {{2026, 2, 14}, "调休上班", CalendarWorkdayKind::work},
        {{2026, 2, 15}, "廿八", CalendarWorkdayKind::rest},
        {{2026, 2, 17}, "春节", CalendarWorkdayKind::rest},
        {{2026, 2, 23}, "初七", CalendarWorkdayKind::rest},
        {{2026, 2, 28}, "调休上班", CalendarWorkdayKind::work},
        {{2026, 3, 3}, "元宵", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.day.isoText());
        const auto index = grid.cellIndex(c.day);
        ASSERT_TRUE(index);
        const auto& cell = grid.cells[static_cast<std::size_t>(*index)];
        EXPECT_EQ(cell.lunarText, c.second);
        EXPECT_EQ(cell.workdayKind, c.kind);
    }
    EXPECT_FALSE(grid.cellIndex({2026, 3, 9})) << "past the last cell";
    EXPECT_FALSE(grid.cellIndex({2026, 1, 25})) << "before the first cell";
}

}  // namespace
}  // namespace tallowmere
