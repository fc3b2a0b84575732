#pragma once

#include <optional>
#include <string>

#include "platform/base/date.h"
#include "platform/base/date_formatter.h"
#include "platform/base/gregorian_calendar.h"

namespace tallowmere {

// The calendar's date texts, each in the zone of the calendar given.
class CalendarDateTexts {
public:
    explicit CalendarDateTexts(const platform::GregorianCalendar& calendar);

    // Today's line over the hero block: "10月1日 星期四" (zh_CN weekday names).
    std::string dateLine(platform::Date date) const;
    // A day in a list or tool tip: "10月1日".
    std::string monthAndDay(platform::Date date) const;
    // A time of day on the 24-hour clock: "09:05".
    std::string timeOfDay(platform::Date date) const;
    // The grid's month header: "2026年10月".
    static std::string monthLabel(int year, int month);

private:
    // Absent only if ICU rejects a zone it named itself.
    std::optional<platform::DateFormatter> dateLine_;
    std::optional<platform::DateFormatter> monthAndDay_;
    std::optional<platform::DateFormatter> timeOfDay_;
};

}  // namespace tallowmere
