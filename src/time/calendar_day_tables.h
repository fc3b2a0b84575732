#pragma once

#include <array>
#include <compare>
#include <map>
#include <set>
#include <string>
#include <string_view>

#include "platform/base/calendar_day.h"
#include "platform/base/result.h"

namespace tallowmere {

// A month and day without a year: the key of a festival, Gregorian or lunar.
struct MonthDay {
    int month = 1;
    int day = 1;
    auto operator<=>(const MonthDay&) const = default;
};

// The fixed tables the calendar marks its days with: the 2026 holiday
// arrangement, festivals, the names of lunar months and days, holiday and
// festival names for the reminder line and the weekday headers. Shipped as
// one data file and read once.
struct CalendarDayTables {
    std::set<platform::CalendarDay> officialRestDays2026;
    std::set<platform::CalendarDay> officialWorkDays2026;
    std::map<MonthDay, std::string> solarFestivals;  // Gregorian month and day
    std::map<MonthDay, std::string> lunarFestivals;  // lunar month and day (never a leap month)
    std::array<std::string, 12> lunarMonthNames;     // index = lunar month - 1
    std::array<std::string, 30> lunarDayNames;       // index = lunar day - 1
    std::map<int, std::string> holidayNamesByMonth;  // Gregorian month of a holiday's first rest day
    std::map<std::string, std::string, std::less<>> festivalLongNames;  // short name to long name
    std::array<std::string, 7> weekdayHeaders;       // Monday first

    // Reads the tables from their JSON file. Fails (parseFailed or
    // wrongShape) on anything but a complete, consistent file: a missing or
    // unknown member, a malformed date or key, a wrong number of names, an
    // empty name, or a day listed both as a rest day and as a workday.
    static platform::Result<CalendarDayTables> parse(std::string_view json);

    // The tables built into the program. They are checked when the program
    // is built; if they still could not be read, it stops with a message
    // rather than show a calendar without holidays.
    static const CalendarDayTables& shipped();

    // The long form of a festival name ("中秋" gives "中秋节"); other names
    // stay as they are.
    std::string longFestivalName(std::string_view name) const;
};

}  // namespace tallowmere
