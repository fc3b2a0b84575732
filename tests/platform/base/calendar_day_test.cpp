#include "platform/base/calendar_day.h"

#include <gtest/gtest.h>

namespace tallowmere::platform {
namespace {

TEST(CalendarDayTest, DayNumbersWalkTheCalendarOneDayAtATime) {
    // Stepping a day by hand through four centuries (leap rules of 1900,
    // 2000 and 2100 included) must agree with the day-number arithmetic.
    CalendarDay expected{1899, 12, 31};
    for (std::int64_t number = CalendarDay{1899, 12, 31}.dayNumber(); number <= CalendarDay{2300, 3, 1}.dayNumber();
         ++number) {
        const CalendarDay day = CalendarDay::fromDayNumber(number);
        ASSERT_EQ(day, expected) << number;
        ASSERT_EQ(day.dayNumber(), number);
        if (++expected.day > CalendarDay::daysInMonth(expected.year, expected.month)) {
            expected.day = 1;
            if (++expected.month > 12) {
                expected.month = 1;
                ++expected.year;
            }
        }
    }
}

TEST(CalendarDayTest, KnownDaysAndWeekdays) {
    struct Case {
        CalendarDay day;
        std::int64_t number;
        int weekday;  // 1 = Sunday
    } cases[] = {
        {{1970, 1, 1}, 0, 5},       {{1969, 12, 31}, -1, 4},   {{2000, 2, 29}, 11016, 3},
        {{1900, 1, 1}, -25567, 2},  {{2026, 10, 1}, 20727, 5}, {{2026, 10, 10}, 20736, 7},
        {{2100, 12, 31}, 47846, 6},
    };
    for (const Case& item : cases) {
        SCOPED_TRACE(item.day.isoText());
        EXPECT_EQ(item.day.dayNumber(), item.number);
        EXPECT_EQ(item.day.weekday(), item.weekday);
    }
}

TEST(CalendarDayTest, ParsesOnlyWellFormedExistingDays) {
    EXPECT_EQ(CalendarDay::parse("2026-10-01"), (CalendarDay{2026, 10, 1}));
    EXPECT_EQ(CalendarDay::parse("2024-02-29"), (CalendarDay{2024, 2, 29}));
    for (const char* text : {"2026-02-29", "2100-02-29", "2026-13-01", "2026-00-10", "2026-04-31", "2026-1-01",
                             "26-01-01", "2026-01-01 ", " 2026-01-01", "+026-01-01", "2026/01/01", "2026-01-0x", ""}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(CalendarDay::parse(text), std::nullopt);
    }
    EXPECT_EQ((CalendarDay{987, 3, 4}).isoText(), "0987-03-04");
}

}  // namespace
}  // namespace tallowmere::platform
