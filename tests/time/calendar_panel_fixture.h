#pragma once

#include <string>
#include <vector>

#include "platform/base/iso8601.h"
#include "platform/ui/button.h"
#include "platform/ui/label.h"
#include "support/desktop/desktop_fixture.h"
#include "support/scoped_time_zone.h"
#include "time/calendar_content_view.h"
#include "time/calendar_floating_panel.h"
#include "time/calendar_panel_controller.h"

namespace tallowmere::testing {

// The calendar drop-down on the simulated desktop, in Beijing time, on a
// day the test chooses.
class CalendarPanelTest : public DesktopTest {
protected:
    static platform::Date at(const char* text) { return platform::Iso8601::parse(text).value(); }

    void setToday(const char* instant) { clock().setNow(at(instant)); }

    CalendarPanelController& controller() { return CalendarPanelController::shared(); }
    platform::CalendarDatabase& calendars() { return desktop.calendars(); }

    // Opens the drop-down under the middle of the menu bar.
    std::shared_ptr<CalendarContentView> open() {
        controller().toggleCalendar({720, 876});
        runUntilIdle();
        return controller().contentView();
    }

    void addEvent(const char* start, std::optional<std::string> title, bool allDay = false,
                  const char* calendar = "工作") {
        const auto begin = at(start);
        calendars().addEvent({.title = std::move(title),
                              .startDate = begin,
                              .endDate = begin.addingTimeInterval(allDay ? 86400 : 3600),
                              .isAllDay = allDay},
                             calendar);
    }

    // What the event list shows, top to bottom: label texts and button titles.
    static std::vector<std::string> rows(const CalendarContentView& view) {
        std::vector<std::string> texts;
        for (const auto& row : view.eventStack().arrangedSubviews()) {
            if (auto button = std::dynamic_pointer_cast<platform::Button>(row)) {
                texts.push_back("[" + button->title() + "]");
            } else if (auto label = std::dynamic_pointer_cast<platform::Label>(row)) {
                texts.push_back(label->stringValue());
            }
        }
        return texts;
    }

    // The day numbers of the cells that carry an event dot.
    static std::vector<int> markedCells(const CalendarContentView& view) {
        std::vector<int> marked;
        for (const auto& cell : view.dayButtons()) {
            if (cell->hasEvents) marked.push_back(cell->tag());
        }
        return marked;
    }

    ScopedTimeZone zone_{"Asia/Shanghai"};
};

}  // namespace tallowmere::testing
