#include "time/calendar_day_events.h"

#include <algorithm>
#include <tuple>

namespace tallowmere {

namespace CalendarDayEvents {

std::string heading(platform::CalendarDay selected, platform::CalendarDay today, platform::Date selectedDate,
                    const CalendarDateTexts& texts) {
    if (selected == today) return "今日日程";
    return texts.dateLine(selectedDate) + " 日程";
}

std::string headingToolTip(platform::CalendarDay selected, const CalendarDayLookup& days) {
    std::vector<std::string> parts{days.lunarText(selected)};
    if (auto festival = days.festivalText(selected)) parts.push_back(*festival);
    if (auto kind = days.officialWorkdayKind(selected)) {
        parts.push_back(*kind == CalendarWorkdayKind::rest ? "放假" : "调休上班");
    }
    std::string joined;
    for (const auto& part : parts) joined += (joined.empty() ? "" : " · ") + part;
    return joined;
}

std::vector<platform::CalendarEvent> sorted(std::vector<platform::CalendarEvent> events) {
    std::stable_sort(events.begin(), events.end(), [](const auto& a, const auto& b) {
        return std::tuple(!a.isAllDay, a.startDate, a.title.value_or("")) <
               std::tuple(!b.isAllDay, b.startDate, b.title.value_or(""));
    });
    return events;
}

std::string rowText(const platform::CalendarEvent& event, const CalendarDateTexts& texts) {
    const std::string time = event.isAllDay ? "全天" : texts.timeOfDay(event.startDate);
    const bool untitled = !event.title || event.title->find_first_not_of(" \t\r\n") == std::string::npos;
    return time + "  " + (untitled ? std::string("未命名日程") : *event.title);
}

}  // namespace CalendarDayEvents

}  // namespace tallowmere
