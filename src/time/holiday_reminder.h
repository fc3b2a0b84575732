#pragma once

#include <string>
#include <vector>

#include "platform/base/date.h"
#include "platform/gfx/attributed_string.h"
#include "time/calendar_day_lookup.h"

namespace tallowmere {

// The calendar's "today" block: today's date, the countdown to the next
// official rest day and the nearest festival, always counted from today over
// the 31 days today ... today + 30, whatever month the calendar shows.
// A value: the month view puts its texts in its labels.
struct HolidayReminder {
    struct Festival {
        int offset = 0;  // whole calendar days from today
        platform::Date date;
        std::string name;  // long form ("中秋节")
        bool operator==(const Festival&) const = default;
    };

    std::string dateLine;                  // "10月1日 星期四"
    std::string headline;                  // "下一站假期 · 国庆节", "假期进行中 · ...", "未来30天"
    std::string headlineToolTip;           // where the holiday data comes from
    platform::AttributedString countdown;  // "再过  1 天，就放假", "正在放假" or a note
    std::string festivalLine;              // "日子有盼头 · 12天后是中秋节" ...
    std::string festivalToolTip;           // "9月25日  中秋节", one line a festival
    std::vector<Festival> festivals;       // nearest first

    // The block for the day `now` falls on, in the lookup's calendar.
    static HolidayReminder compute(platform::Date now, const CalendarDayLookup& days);
};

}  // namespace tallowmere
