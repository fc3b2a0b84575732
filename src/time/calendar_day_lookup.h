#pragma once

#include <optional>
#include <string>

#include "platform/base/calendar_day.h"
#include "platform/base/chinese_calendar.h"
#include "platform/base/date.h"
#include "platform/base/gregorian_calendar.h"
#include "time/calendar_day_tables.h"
#include "time/calendar_workday_kind.h"
#include "time/lunar_month_table.h"

namespace tallowmere {

// What the calendar shows for a day besides its number: its official kind,
// the festival on it and its lunar text. Reads the day tables and the lunar
// month table; the calendars are fixed when it is made, so a lookup made
// after the zone changes sees the new zone. One thread at a time (ICU).
class CalendarDayLookup {
public:
    explicit CalendarDayLookup(platform::GregorianCalendar gregorian = platform::GregorianCalendar::current(),
                               const CalendarDayTables& tables = CalendarDayTables::shipped(),
                               const LunarMonthTable& lunarMonths = LunarMonthTable::shipped());

    const platform::GregorianCalendar& gregorian() const { return gregorian_; }
    const CalendarDayTables& tables() const { return tables_; }

    // `rest` or `work` for a day of the 2026 arrangement, else absent. Rest
    // is asked first.
    std::optional<CalendarWorkdayKind> officialWorkdayKind(platform::Date date) const;
    std::optional<CalendarWorkdayKind> officialWorkdayKind(platform::CalendarDay day) const;

    // The festival of a day: a solar festival wins over a lunar one, and a
    // leap month carries none.
    std::optional<std::string> festivalText(platform::Date date) const;
    std::optional<std::string> festivalText(platform::CalendarDay day) const;

    // The lunar day name ("初二" ... "三十"), or on the first day of a month
    // the month's name ("正月", "闰六月"). Never empty.
    std::string lunarText(platform::Date date) const;
    std::string lunarText(platform::CalendarDay day) const;

    // The lunar date of a day: from the table inside 1901-2100, from ICU
    // outside it; absent only when ICU cannot compute it either.
    std::optional<platform::LunarDate> lunarDate(platform::CalendarDay day) const;

private:
    platform::GregorianCalendar gregorian_;
    const CalendarDayTables& tables_;
    const LunarMonthTable& lunarMonths_;
    // Made on the first day outside the table: most lookups never need ICU's.
    mutable std::optional<platform::ChineseCalendar> chinese_;
};

}  // namespace tallowmere
