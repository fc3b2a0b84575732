#include "time/calendar_month_grid.h"

#include "time/calendar_date_texts.h"

namespace tallowmere {

using platform::CalendarDay;

CalendarMonthGrid CalendarMonthGrid::make(platform::Date displayedMonth, platform::Date today,
                                          const CalendarDayLookup& days) {
    const auto& calendar = days.gregorian();
    const CalendarDay shown = calendar.day(displayedMonth);
    const CalendarDay todayDay = calendar.day(today);

    CalendarMonthGrid grid;
    grid.year = shown.year;
    grid.month = shown.month;
    const CalendarDay first{shown.year, shown.month, 1};
    grid.leadingDays = (first.weekday() - platform::GregorianCalendar::firstWeekday + 7) % 7;

    for (int i = 0; i < cellCount; ++i) {
        const CalendarDay day = first.addingDays(i - grid.leadingDays);
        CalendarDayCell& cell = grid.cells[static_cast<std::size_t>(i)];
        cell.day = day;
        cell.date = calendar.startOfDay(day);
        cell.dayText = std::to_string(day.day);
        cell.workdayKind = days.officialWorkdayKind(day);
        const auto festival = days.festivalText(day);
        cell.isFestival = festival.has_value();
        if (cell.workdayKind == CalendarWorkdayKind::work) {
            cell.lunarText = "调休上班";
        } else if (festival) {
            cell.lunarText = *festival;
        } else {
            cell.lunarText = days.lunarText(day);
        }
        cell.isCurrentMonth = day.year == first.year && day.month == first.month;
        cell.isTodayDate = day == todayDay;
        const int weekday = day.weekday();
        cell.isWeekend = weekday == 1 || weekday == 7;
    }
    return grid;
}

std::string CalendarMonthGrid::monthLabel() const { return CalendarDateTexts::monthLabel(year, month); }

std::optional<int> CalendarMonthGrid::cellIndex(CalendarDay day) const {
    const auto offset = day.dayNumber() - firstVisibleDay().dayNumber();
    if (offset < 0 || offset >= cellCount) return std::nullopt;
    return static_cast<int>(offset);
}

}  // namespace tallowmere
