#include "platform/desktop/event_store.h"

#include "platform/desktop/desktop.h"

namespace tallowmere::platform {

EventStore::EventStore() : desktop_(Desktop::shared().weak_from_this()) {}

CalendarAuthorizationStatus EventStore::authorizationStatus() const {
    auto desktop = desktop_.lock();
    return desktop ? desktop->calendars().authorizationStatus() : CalendarAuthorizationStatus::restricted;
}

void EventStore::requestFullAccessToEvents(AccessCompletion completion) {
    auto desktop = desktop_.lock();
    if (!desktop) {
        if (completion) completion(false);
        return;
    }
    const std::string requester = desktop->currentApplication().name();
    desktop->calendars().requestFullAccess(requester, completion);
}

std::vector<CalendarEvent> EventStore::events(Date start, Date end) const {
    auto desktop = desktop_.lock();
    if (!desktop || desktop->calendars().authorizationStatus() != CalendarAuthorizationStatus::fullAccess) return {};
    return desktop->calendars().events(start, end);
}

}  // namespace tallowmere::platform
