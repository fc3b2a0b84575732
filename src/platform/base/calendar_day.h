#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tallowmere::platform {

// One day of the proleptic Gregorian calendar, with no time and no zone: the
// "which day is it" that calendars, tables and day grids key on. Day numbers
// count whole days from 1970-01-01, so differences between days are exact
// whatever the clocks did in between.
struct CalendarDay {
    int year = 1970;
    int month = 1;  // 1...12
    int day = 1;    // 1...days in that month

    static CalendarDay fromDayNumber(std::int64_t dayNumber);
    std::int64_t dayNumber() const;

    // "yyyy-MM-dd" with a four-digit year; nothing else (no blanks, no
    // signs, no 31 April) is accepted.
    static std::optional<CalendarDay> parse(std::string_view text);
    std::string isoText() const;  // "2026-10-01"

    bool isValid() const;
    // 1 for Sunday through 7 for Saturday, as the calendars number weekdays.
    int weekday() const;
    CalendarDay addingDays(std::int64_t days) const { return fromDayNumber(dayNumber() + days); }

    static bool isLeapYear(int year);
    static int daysInMonth(int year, int month);  // 0 for a month outside 1...12

    auto operator<=>(const CalendarDay&) const = default;
};

}  // namespace tallowmere::platform
