#include "time/calendar_day_lookup.h"

#include <algorithm>

namespace tallowmere {

using platform::CalendarDay;
using platform::Date;

CalendarDayLookup::CalendarDayLookup(platform::GregorianCalendar gregorian, const CalendarDayTables& tables,
                                     const LunarMonthTable& lunarMonths)
    : gregorian_(std::move(gregorian)), tables_(tables), lunarMonths_(lunarMonths) {}

std::optional<CalendarWorkdayKind> CalendarDayLookup::officialWorkdayKind(Date date) const {
    return officialWorkdayKind(gregorian_.day(date));
}

std::optional<CalendarWorkdayKind> CalendarDayLookup::officialWorkdayKind(CalendarDay day) const {
    if (tables_.officialRestDays2026.contains(day)) return CalendarWorkdayKind::rest;
    if (tables_.officialWorkDays2026.contains(day)) return CalendarWorkdayKind::work;
    return std::nullopt;
}

std::optional<std::string> CalendarDayLookup::festivalText(Date date) const {
    return festivalText(gregorian_.day(date));
}

std::optional<std::string> CalendarDayLookup::festivalText(CalendarDay day) const {
    if (const auto solar = tables_.solarFestivals.find({day.month, day.day}); solar != tables_.solarFestivals.end()) {
        return solar->second;
    }
    const auto lunar = lunarDate(day);
    if (!lunar || lunar->isLeapMonth) return std::nullopt;
    if (const auto found = tables_.lunarFestivals.find({lunar->month, lunar->day}); found != tables_.lunarFestivals.end()) {
        return found->second;
    }
    return std::nullopt;
}

std::string CalendarDayLookup::lunarText(Date date) const { return lunarText(gregorian_.day(date)); }

std::string CalendarDayLookup::lunarText(CalendarDay day) const {
    const auto lunar = lunarDate(day);
    if (lunar && lunar->day != 1) return tables_.lunarDayNames[std::clamp(lunar->day - 1, 0, 29)];
    const std::string& monthName = tables_.lunarMonthNames[std::clamp((lunar ? lunar->month : 1) - 1, 0, 11)];
    return lunar && lunar->isLeapMonth ? "闰" + monthName : monthName;
}

std::optional<platform::LunarDate> CalendarDayLookup::lunarDate(CalendarDay day) const {
    if (const auto fromTable = lunarMonths_.lunarDate(day)) return fromTable;
    if (!chinese_) chinese_.emplace();
    return chinese_->lunarDate(day);
}

}  // namespace tallowmere
