#include "platform/ui/event_monitors.h"

#include <algorithm>

#include "platform/runtime/app_context.h"

namespace tallowmere::platform {

EventMonitors& EventMonitors::shared() { return AppContext::current().shared<EventMonitors>(); }

std::optional<EventMonitorToken> EventMonitors::addGlobalMonitor(EventMask mask, GlobalHandler handler) {
    if (mask == 0 || !handler) return std::nullopt;
    const auto id = nextId_++;
    monitors_.push_back({id, mask, true, std::make_shared<GlobalHandler>(std::move(handler)), nullptr});
    return EventMonitorToken(id);
}

std::optional<EventMonitorToken> EventMonitors::addLocalMonitor(EventMask mask, LocalHandler handler) {
    if (mask == 0 || !handler) return std::nullopt;
    const auto id = nextId_++;
    monitors_.push_back({id, mask, false, nullptr, std::make_shared<LocalHandler>(std::move(handler))});
    return EventMonitorToken(id);
}

void EventMonitors::removeMonitor(const EventMonitorToken& token) {
    std::erase_if(monitors_, [&](const Monitor& monitor) { return monitor.id == token.id_; });
}

std::size_t EventMonitors::globalMonitorCount() const {
    return static_cast<std::size_t>(std::count_if(monitors_.begin(), monitors_.end(), [](const Monitor& m) { return m.global; }));
}

std::size_t EventMonitors::localMonitorCount() const { return monitors_.size() - globalMonitorCount(); }

bool EventMonitors::isInstalled(std::uint64_t id) const {
    return std::any_of(monitors_.begin(), monitors_.end(), [id](const Monitor& m) { return m.id == id; });
}

void EventMonitors::deliverToGlobalMonitors(const Event& event, bool keysAllowed) {
    if (isKeyEvent(event.type) && !keysAllowed) return;
    const auto bit = eventMask(event.type);
    const auto snapshot = monitors_;  // handlers may add or remove monitors
    for (const auto& monitor : snapshot) {
        if (!monitor.global || (monitor.mask & bit) == 0 || !isInstalled(monitor.id)) continue;
        (*monitor.globalHandler)(event);
    }
}

std::optional<Event> EventMonitors::deliverToLocalMonitors(Event event) {
    const auto snapshot = monitors_;
    for (const auto& monitor : snapshot) {
        if (monitor.global || !isInstalled(monitor.id)) continue;
        if ((monitor.mask & eventMask(event.type)) == 0) continue;
        auto passed = (*monitor.localHandler)(event);
        if (!passed) return std::nullopt;
        event = std::move(*passed);
    }
    return event;
}

}  // namespace tallowmere::platform
