#include "platform/ui/event_router.h"

#include "platform/desktop/desktop.h"
#include "platform/runtime/app_context.h"
#include "platform/ui/application.h"
#include "platform/ui/event_monitors.h"
#include "platform/ui/menu_tracker.h"
#include "platform/ui/window.h"
#include "platform/ui/window_frame_controls.h"

namespace tallowmere::platform {

EventRouter::EventRouter() {
    Desktop::shared().setEventRouter([](const Event& event) { return EventRouter::shared().route(event); });
}

EventRouter& EventRouter::shared() { return AppContext::current().shared<EventRouter>(); }

std::shared_ptr<Window> EventRouter::ownWindowFor(const Event& event) const {
    auto& application = Application::shared();
    // The drags and the release of a press belong to the window pressed;
    // those of a press elsewhere (files dragged from Finder) to none.
    if (isMouseDragged(event.type) || isMouseUp(event.type)) {
        return pressedWindow_ != 0 ? application.windowWithNumber(pressedWindow_) : nullptr;
    }
    auto hit = Desktop::shared().windowServer().windowAt(event.location);
    if (!hit || !hit->isOwnWindow()) return nullptr;
    return application.windowWithNumber(hit->windowNumber());
}

bool EventRouter::route(const Event& event) {
    auto& application = Application::shared();
    Application::ScopedCurrentEvent current(application, event);

    auto& menus = MenuTracker::shared();
    if (menus.isTracking() && menus.handleEvent(event)) return true;

    if (isKeyEvent(event.type)) {
        auto key = application.keyWindow();
        const bool keyPanelTakesKeys = key && key->isVisible() &&
                                       key->styleMask().contains(WindowStyleMask::nonactivatingPanel);
        if (application.isActive() || keyPanelTakesKeys) {
            // Keys of the program: its local monitors, then its key window.
            auto passed = EventMonitors::shared().deliverToLocalMonitors(event);
            if (passed && key && key->isVisible()) key->sendEvent(*passed);
            return true;
        }
        EventMonitors::shared().deliverToGlobalMonitors(event, Desktop::shared().accessibility().isProcessTrusted());
        return false;
    }

    auto window = ownWindowFor(event);
    const bool pressEnds = isMouseUp(event.type);
    if (isMouseDown(event.type)) pressedWindow_ = window ? window->windowNumber() : 0;
    if (isMouseEvent(event.type) || event.type == EventType::scrollWheel) updatePointerWindow(window, event);

    bool taken = false;
    if (window) {
        taken = routeToWindow(window, event);
    } else {
        EventMonitors::shared().deliverToGlobalMonitors(event, Desktop::shared().accessibility().isProcessTrusted());
    }
    if (pressEnds) pressedWindow_ = 0;
    return taken;
}

bool EventRouter::routeToWindow(const std::shared_ptr<Window>& window, const Event& event) {
    auto& application = Application::shared();
    if (auto modal = application.modalWindow(); modal && modal != window) {
        auto* panel = dynamic_cast<Panel*>(window.get());
        if (!panel || !panel->worksWhenModal) return true;  // the platform beeps
    }
    auto passed = EventMonitors::shared().deliverToLocalMonitors(event);
    if (!passed) return true;
    if (!window->isVisible()) return true;  // a monitor hid it
    if (isMouseEvent(passed->type) && WindowFrameControls::shared().handle(*window, *passed)) return true;
    if (passed->type == EventType::leftMouseDown || passed->type == EventType::rightMouseDown) {
        // A press brings the window forward and, unless it is a
        // non-activating panel, the program with it.
        if (!window->styleMask().contains(WindowStyleMask::nonactivatingPanel) && window->canBecomeKey()) {
            application.activate(true);
        }
        auto* panel = dynamic_cast<Panel*>(window.get());
        if (window->canBecomeKey() && !(panel && panel->becomesKeyOnlyIfNeeded)) window->makeKey();
    }
    window->sendEvent(*passed);
    return true;
}

void EventRouter::updatePointerWindow(const std::shared_ptr<Window>& window, const Event& event) {
    auto previous = pointerWindow_.lock();
    if (previous && previous != window) previous->pointerExited(event);
    pointerWindow_ = window;
}

}  // namespace tallowmere::platform
