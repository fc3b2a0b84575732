// Showing the calendar drop-down builds a new panel and month view every
// time: 42 cells with their lunar texts, holidays and festivals, today's
// block, the selected day's events and the event markers of the whole grid.
// Target: a showing (and the hiding before the next) under 5 ms, so the
// drop-down is there by the time the click is released.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "platform/desktop/desktop.h"
#include "platform/gfx/pango_text_measurer.h"
#include "platform/runtime/app_context.h"
#include "platform/ui/application.h"
#include "program_in_temporary_home.h"
#include "time/calendar_content_view.h"
#include "time/calendar_panel_controller.h"

namespace tallowmere {
namespace {

// A month of a busy calendar: two events a day for 40 days around today.
struct BusyCalendar {
    bench::ProgramInTemporaryHome program;

    BusyCalendar() {
        ::setenv("TZ", "Asia/Shanghai", 1);
        auto& context = platform::AppContext::current();
        // Measured with the fonts that draw it, as in the program.
        context.setShared<platform::TextMeasurer>(std::make_shared<platform::PangoTextMeasurer>());
        platform::Application::shared();
        auto& calendars = platform::Desktop::shared().calendars();
        calendars.setAuthorizationStatus(platform::CalendarAuthorizationStatus::fullAccess);
        const auto now = context.clock().now();
        for (int day = -20; day < 20; ++day) {
            const auto start = now.addingTimeInterval(day * 86400.0);
            calendars.addEvent({.title = "站会", .startDate = start, .endDate = start.addingTimeInterval(900)}, "工作");
            calendars.addEvent({.title = "读书会：一本很长的书名，长到要换行才能放下",
                                .startDate = start.addingTimeInterval(7200),
                                .endDate = start.addingTimeInterval(10800)},
                               "家庭");
        }
    }
};

void showingTheDropDown(benchmark::State& state) {
    BusyCalendar calendar;
    auto& controller = CalendarPanelController::shared();
    for (auto _ : state) {
        controller.toggleCalendar({720, 876});
        // Laid out as the first paint would.
        controller.contentView()->layoutSubtreeIfNeeded();
        controller.hideCalendar();
    }
}
BENCHMARK(showingTheDropDown)->Unit(benchmark::kMillisecond);

// Moving to the next month: the cells and markers again, without a new view.
void steppingAMonth(benchmark::State& state) {
    BusyCalendar calendar;
    auto& controller = CalendarPanelController::shared();
    controller.toggleCalendar({720, 876});
    auto view = controller.contentView();
    int step = 0;
    for (auto _ : state) {
        if (++step % 2) {
            view->showNextMonth();
        } else {
            view->showPreviousMonth();
        }
    }
}
BENCHMARK(steppingAMonth)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tallowmere
