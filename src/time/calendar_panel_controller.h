#pragma once

#include <memory>
#include <optional>

#include "platform/desktop/event_store.h"
#include "platform/gfx/geometry.h"
#include "platform/ui/event_monitors.h"

namespace tallowmere {

namespace platform {
class Control;
}

class CalendarContentView;
class CalendarFloatingPanel;

// Opens and closes the calendar drop-down under the calendar status item (or
// under the mouse), and closes it on a click anywhere else. Every showing
// builds a fresh panel and month view, so it opens on the current month with
// today selected. One per process (`shared()`).
class CalendarPanelController : public std::enable_shared_from_this<CalendarPanelController> {
public:
    static CalendarPanelController& shared();

    CalendarPanelController();
    CalendarPanelController(const CalendarPanelController&) = delete;
    CalendarPanelController& operator=(const CalendarPanelController&) = delete;

    bool isVisible() const;
    // The panel shown last (hidden panels stay until the next showing).
    std::shared_ptr<CalendarFloatingPanel> panel() const { return panel_; }
    std::shared_ptr<CalendarContentView> contentView() const;
    const std::shared_ptr<platform::EventStore>& eventStore() const { return eventStore_; }

    // Closes the panel if it is shown and stops watching clicks.
    void hideCalendar();
    // Hides a shown panel, otherwise shows it anchored at `point` (the
    // middle of the status item's lower edge).
    void toggleCalendar(platform::ScreenPoint point);
    // As above, anchored at the mouse (as for a menu).
    void toggleCalendarFromMenu(platform::Control& sender);

private:
    void showCalendar(std::optional<platform::ScreenPoint> anchorPoint);
    void startOutsideClickMonitoring();
    void stopOutsideClickMonitoring();

    std::shared_ptr<platform::EventStore> eventStore_;
    std::shared_ptr<CalendarFloatingPanel> panel_;
    std::optional<platform::EventMonitorToken> localClickMonitor_;
    std::optional<platform::EventMonitorToken> globalClickMonitor_;
};

}  // namespace tallowmere
