#pragma once

#include <array>
#include <optional>
#include <string>

#include "platform/base/calendar_day.h"
#include "platform/base/date.h"
#include "time/calendar_day_lookup.h"
#include "time/calendar_workday_kind.h"

namespace tallowmere {

// What one cell of the month grid shows.
struct CalendarDayCell {
    platform::CalendarDay day;
    platform::Date date;  // the start of the day
    std::string dayText;  // "1" ... "31"
    // "调休上班" on a make-up workday, else the festival, else the lunar text.
    std::string lunarText;
    bool isCurrentMonth = false;
    bool isTodayDate = false;
    bool isWeekend = false;  // Saturday or Sunday
    bool isFestival = false;
    std::optional<CalendarWorkdayKind> workdayKind;

    bool operator==(const CalendarDayCell&) const = default;
};

// The 6 × 7 grid of a month, weeks starting on Monday: the month's first day
// after its leading days from the month before, the rest filled from the
// month after. A value; the month view draws it.
struct CalendarMonthGrid {
    static constexpr int rows = 6;
    static constexpr int columns = 7;
    static constexpr int cellCount = rows * columns;

    int year = 0;
    int month = 0;
    int leadingDays = 0;  // 0 for a month that begins on Monday, 6 for Sunday
    std::array<CalendarDayCell, cellCount> cells{};

    // The grid of the month `displayedMonth` falls in, with `today` marked,
    // in the lookup's calendar.
    static CalendarMonthGrid make(platform::Date displayedMonth, platform::Date today, const CalendarDayLookup& days);

    // "2026年10月".
    std::string monthLabel() const;
    platform::CalendarDay firstVisibleDay() const { return cells.front().day; }
    platform::CalendarDay lastVisibleDay() const { return cells.back().day; }
    // The cell showing `day`, if the grid shows it.
    std::optional<int> cellIndex(platform::CalendarDay day) const;
};

}  // namespace tallowmere
