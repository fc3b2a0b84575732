#pragma once

#include <memory>
#include <optional>

#include "platform/base/calendar_day.h"

namespace tallowmere::platform {

// A day of the Chinese lunisolar calendar.
struct LunarDate {
    int month = 1;  // 1...12; a leap month repeats the number of the month before it
    int day = 1;    // 1...30
    bool isLeapMonth = false;

    bool operator==(const LunarDate&) const = default;
};

// ICU's Chinese calendar: the lunar date of a day as reckoned in China. It
// computes the astronomy afresh for every day, which is slow (tens of
// microseconds), so callers that need many days keep a table and ask this
// only outside it. Keeps ICU state: one thread at a time.
class ChineseCalendar {
public:
    ChineseCalendar();
    ChineseCalendar(ChineseCalendar&&) noexcept;
    ChineseCalendar& operator=(ChineseCalendar&&) noexcept;
    ~ChineseCalendar();

    // Absent when ICU cannot compute that day.
    std::optional<LunarDate> lunarDate(CalendarDay day) const;

private:
    struct Engine;
    std::unique_ptr<Engine> engine_;
};

}  // namespace tallowmere::platform
