#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/base/date.h"
#include "platform/desktop/calendar_database.h"

namespace tallowmere::platform {

class Desktop;

// The program's connection to the person's calendars: the permission, the
// request for access and the events of a span. Reads the calendars of the
// desktop it was made on and does nothing once that desktop is gone.
class EventStore {
public:
    using AccessCompletion = std::function<void(bool granted)>;

    // On the current AppContext's desktop.
    EventStore();
    explicit EventStore(std::weak_ptr<Desktop> desktop) : desktop_(std::move(desktop)) {}

    CalendarAuthorizationStatus authorizationStatus() const;
    // Asks the person for full access when nothing is decided (the system's
    // prompt); `completion` hears the outcome, as the platform's may, from
    // outside the caller's turn, so callers hop to the main queue themselves.
    void requestFullAccessToEvents(AccessCompletion completion);
    // The events of every calendar that overlap [start, end); nothing without
    // full access.
    std::vector<CalendarEvent> events(Date start, Date end) const;

private:
    std::weak_ptr<Desktop> desktop_;
};

}  // namespace tallowmere::platform
