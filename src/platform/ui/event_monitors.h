#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/desktop/event.h"

namespace tallowmere::platform {

// Identifies one installed monitor; pass it to `removeMonitor`.
class EventMonitorToken {
public:
    bool operator==(const EventMonitorToken&) const = default;

private:
    friend class EventMonitors;
    explicit EventMonitorToken(std::uint64_t id) : id_(id) {}
    std::uint64_t id_ = 0;
};

// Watchers of input events, by event mask.
//
// A global monitor sees events that go to other applications (the pointer
// over their windows or the desktop, keys while another application is in
// front); it only observes. Key events reach global monitors only while the
// program is trusted for Accessibility, as on the platform.
//
// A local monitor sees events that go to the program itself (over its own
// windows and status items, keys while it is in front) before they are
// handled; it returns the event to let it through (possibly changed) or
// nothing to swallow it. Monitors run in the order they were installed.
//
// Adding or removing monitors from inside a handler is safe: a monitor
// added during delivery does not see that event; one removed is not called
// after its removal. One per AppContext.
class EventMonitors {
public:
    using GlobalHandler = std::function<void(const Event& event)>;
    using LocalHandler = std::function<std::optional<Event>(const Event& event)>;

    static EventMonitors& shared();

    EventMonitors() = default;
    EventMonitors(const EventMonitors&) = delete;
    EventMonitors& operator=(const EventMonitors&) = delete;

    // Nothing when the mask is empty or the handler missing.
    std::optional<EventMonitorToken> addGlobalMonitor(EventMask mask, GlobalHandler handler);
    std::optional<EventMonitorToken> addLocalMonitor(EventMask mask, LocalHandler handler);
    // Removing a monitor twice, or one that never existed, does nothing.
    void removeMonitor(const EventMonitorToken& token);

    std::size_t globalMonitorCount() const;
    std::size_t localMonitorCount() const;

    // For the event router.
    void deliverToGlobalMonitors(const Event& event, bool keysAllowed);
    // The event after every matching local monitor; nothing once one swallows it.
    std::optional<Event> deliverToLocalMonitors(Event event);

private:
    struct Monitor {
        std::uint64_t id;
        EventMask mask;
        bool global;
        std::shared_ptr<GlobalHandler> globalHandler;
        std::shared_ptr<LocalHandler> localHandler;
    };

    bool isInstalled(std::uint64_t id) const;

    std::vector<Monitor> monitors_;
    std::uint64_t nextId_ = 1;
};

}  // namespace tallowmere::platform
