#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/base/calendar_day.h"
#include "platform/base/chinese_calendar.h"
#include "platform/base/result.h"

namespace tallowmere {

// Where one lunar month begins.
struct LunarMonthStart {
    platform::CalendarDay firstDay;  // Gregorian, as reckoned in China
    int month = 1;                   // 1...12
    bool isLeapMonth = false;
    bool operator==(const LunarMonthStart&) const = default;
};

// The first days of the lunar months over a span of years, so a lunar date
// is a table lookup instead of an astronomical computation. The shipped
// table covers 1901 to 2100; outside it callers ask ICU.
class LunarMonthTable {
public:
    // Reads the table's text: one month a line, "yyyy-MM-dd M" with "L"
    // before the number of a leap month ("2025-07-25 L6"); '#' starts a
    // comment line, blank lines are skipped. The last line only ends the
    // month before it. Fails (parseFailed) on a malformed line, and
    // (wrongShape) on months that are not 29 or 30 days long or that do not
    // follow each other (6, L6, 7, ..., 12, 1).
    static platform::Result<LunarMonthTable> parse(std::string_view text);

    // The table built into the program; stops with a message if it could
    // not be read (the build's data test reads it first).
    static const LunarMonthTable& shipped();

    // The lunar date of a day inside the table, else absent.
    std::optional<platform::LunarDate> lunarDate(platform::CalendarDay day) const;

    // Every month start, in order, the closing one included.
    const std::vector<LunarMonthStart>& months() const { return months_; }
    // The first day covered and the first day after the covered span.
    platform::CalendarDay firstDay() const { return months_.front().firstDay; }
    platform::CalendarDay endDay() const { return months_.back().firstDay; }

private:
    std::vector<LunarMonthStart> months_;
    std::vector<std::int64_t> startDayNumbers_;  // the same starts, for the search
};

}  // namespace tallowmere
