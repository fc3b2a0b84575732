// The month grid asks for the lunar text of 42 days at every showing and
// every month step, and a year view or a search would ask for many more.
// Target: at most 2.5 µs a day over 1901-2100, from an instant in the
// user's zone to the text. ICU's Chinese calendar alone takes tens of µs.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "platform/base/chinese_calendar.h"
#include "time/calendar_day_lookup.h"
#include "time/holiday_reminder.h"

namespace tallowmere {
namespace {

using platform::CalendarDay;
using platform::Date;

struct Span {
    CalendarDayLookup lookup{platform::GregorianCalendar::inTimeZone("Asia/Shanghai").value()};
    std::vector<Date> noons;  // one instant a day, 1901-01-01 ... 2100-12-31
    Span() {
        for (auto number = CalendarDay{1901, 1, 1}.dayNumber(); number <= CalendarDay{2100, 12, 31}.dayNumber(); ++number) {
            noons.push_back(lookup.gregorian().startOfDay(CalendarDay::fromDayNumber(number)).addingTimeInterval(43200));
        }
    }
};

const Span& span() {
    static const Span shared;
    return shared;
}

// Reported per day: items_per_second is days per second.
void lunarTextOfEveryDay(benchmark::State& state) {
    const Span& days = span();
    for (auto _ : state) {
        for (Date noon : days.noons) benchmark::DoNotOptimize(days.lookup.lunarText(noon));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * days.noons.size()));
}
BENCHMARK(lunarTextOfEveryDay)->Unit(benchmark::kMillisecond);

// A month grid's worth of cells: kind, festival and lunar text of 42 days.
void monthGridCells(benchmark::State& state) {
    const Span& days = span();
    const Date first = days.lookup.gregorian().startOfDay(CalendarDay{2026, 9, 28});
    for (auto _ : state) {
        for (int cell = 0; cell < 42; ++cell) {
            const Date date = first.addingTimeInterval(cell * 86400.0);
            benchmark::DoNotOptimize(days.lookup.officialWorkdayKind(date));
            benchmark::DoNotOptimize(days.lookup.festivalText(date));
            benchmark::DoNotOptimize(days.lookup.lunarText(date));
        }
    }
}
BENCHMARK(monthGridCells)->Unit(benchmark::kMicrosecond);

// The reminder line, run by its minute timer and on every day selection.
void holidayReminder(benchmark::State& state) {
    const Span& days = span();
    const Date today = days.lookup.gregorian().startOfDay(CalendarDay{2026, 9, 13});
    for (auto _ : state) benchmark::DoNotOptimize(HolidayReminder::compute(today, days.lookup));
}
BENCHMARK(holidayReminder)->Unit(benchmark::kMicrosecond);

// What the table saves: ICU's own answer for one day.
void icuChineseCalendarDay(benchmark::State& state) {
    const platform::ChineseCalendar chinese;
    std::int64_t number = CalendarDay{2026, 1, 1}.dayNumber();
    for (auto _ : state) benchmark::DoNotOptimize(chinese.lunarDate(CalendarDay::fromDayNumber(number++)));
}
BENCHMARK(icuChineseCalendarDay)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tallowmere
