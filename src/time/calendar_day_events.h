#pragma once

#include <string>
#include <vector>

#include "platform/base/calendar_day.h"
#include "platform/desktop/calendar_database.h"
#include "time/calendar_date_texts.h"
#include "time/calendar_day_lookup.h"

namespace tallowmere {

// The texts of the list under the month grid: its heading and one row per
// event of the selected day.
namespace CalendarDayEvents {

inline constexpr const char* notDecidedHint = "授权后可在这里查看当天日程。";
inline constexpr const char* requestAccessTitle = "读取系统日历";
inline constexpr const char* noAccessHint = "系统日历权限未开启，可在系统设置的隐私与安全性中允许。";
inline constexpr const char* noEventsHint = "这一天没有日程。";

// "今日日程" for today, else "10月2日 星期五 日程".
std::string heading(platform::CalendarDay selected, platform::CalendarDay today, platform::Date selectedDate,
                    const CalendarDateTexts& texts);
// The selected day's lunar text, festival and official kind ("放假" or
// "调休上班"), those it has, joined by " · ".
std::string headingToolTip(platform::CalendarDay selected, const CalendarDayLookup& days);

// All-day events first, then by start, then by title, so the list reads as
// the day runs and the same events always list in the same order.
std::vector<platform::CalendarEvent> sorted(std::vector<platform::CalendarEvent> events);
// "全天  国庆假期" or "09:30  周会"; an event without a title is "未命名日程".
std::string rowText(const platform::CalendarEvent& event, const CalendarDateTexts& texts);

}  // namespace CalendarDayEvents

}  // namespace tallowmere
