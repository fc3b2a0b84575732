#pragma once

#include "platform/gfx/geometry.h"

namespace tallowmere {

namespace platform {
class Control;
}

// The calendar drop-down under the calendar status item. One per process
// (`shared()`).
//
// For now there is no panel to show: the month grid, lunar dates and events
// come with the calendar panel, so toggling does nothing.
class CalendarPanelController {
public:
    static CalendarPanelController& shared();

    CalendarPanelController() = default;
    CalendarPanelController(const CalendarPanelController&) = delete;
    CalendarPanelController& operator=(const CalendarPanelController&) = delete;

    bool isVisible() const { return false; }
    // Closes the panel if it is shown.
    void hideCalendar() {}
    // Hides a shown panel, otherwise shows it anchored at `point` (the
    // middle of the status item's lower edge).
    void toggleCalendar(platform::ScreenPoint point) { (void)point; }
    // As above, placed as for a menu.
    void toggleCalendarFromMenu(platform::Control& sender) { (void)sender; }
};

}  // namespace tallowmere
