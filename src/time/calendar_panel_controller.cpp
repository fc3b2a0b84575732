#include "time/calendar_panel_controller.h"

#include "platform/desktop/desktop.h"
#include "platform/runtime/app_context.h"
#include "platform/runtime/main_queue.h"
#include "platform/ui/control.h"
#include "platform/ui/desktop_link.h"
#include "time/calendar_content_view.h"
#include "time/calendar_floating_panel.h"
#include "time/calendar_panel_placement.h"

namespace tallowmere {

using platform::EventType;
using platform::eventMask;

namespace {

constexpr platform::EventMask mouseDowns =
    eventMask(EventType::leftMouseDown) | eventMask(EventType::rightMouseDown) | eventMask(EventType::otherMouseDown);

}  // namespace

CalendarPanelController& CalendarPanelController::shared() {
    return platform::AppContext::current().shared<CalendarPanelController>();
}

CalendarPanelController::CalendarPanelController() : eventStore_(std::make_shared<platform::EventStore>()) {}

bool CalendarPanelController::isVisible() const { return panel_ && panel_->isVisible(); }

std::shared_ptr<CalendarContentView> CalendarPanelController::contentView() const {
    return panel_ ? std::dynamic_pointer_cast<CalendarContentView>(panel_->contentView()) : nullptr;
}

void CalendarPanelController::hideCalendar() {
    if (panel_) panel_->orderOut();
    stopOutsideClickMonitoring();
}

void CalendarPanelController::toggleCalendar(platform::ScreenPoint point) {
    if (isVisible()) {
        hideCalendar();
    } else {
        showCalendar(point);
    }
}

void CalendarPanelController::toggleCalendarFromMenu(platform::Control&) {
    if (isVisible()) {
        hideCalendar();
    } else {
        showCalendar(std::nullopt);
    }
}

void CalendarPanelController::showCalendar(std::optional<platform::ScreenPoint> anchorPoint) {
    auto& desktop = platform::DesktopLink::desktop();
    const platform::ScreenPoint anchor = anchorPoint.value_or(desktop.input().mouseLocation());
    const auto frame = CalendarPanelPlacement::frame(anchor, CalendarPanelPlacement::area(desktop.screens(), anchor));

    auto panel = platform::Window::make<CalendarFloatingPanel>(
        frame, platform::WindowStyleMask(platform::WindowStyleMask::nonactivatingPanel));
    panel->setOpaque(false);
    panel->setBackgroundColor(platform::Color::clear());
    panel->setHasShadow(true);
    panel->setLevel(platform::WindowLevel::popUpMenu);
    panel->setCollectionBehavior(platform::WindowCollectionBehavior::canJoinAllSpaces |
                                 platform::WindowCollectionBehavior::transient |
                                 platform::WindowCollectionBehavior::fullScreenAuxiliary);
    panel->isReleasedWhenClosed = false;
    // The outside-click monitors close it; it must not vanish merely
    // because another application became active first.
    panel->setHidesOnDeactivate(false);
    panel->setTitle("塔洛梅日历");

    auto view = CalendarContentView::make(eventStore_);
    view->onClose = [weak = weak_from_this()] {
        if (auto self = weak.lock()) self->hideCalendar();
    };
    panel->setContentView(view);

    // The old panel is dropped with its view, never reused.
    if (panel_) panel_->orderOut();
    panel_ = panel;
    panel_->makeKeyAndOrderFront();
    startOutsideClickMonitoring();
}

void CalendarPanelController::startOutsideClickMonitoring() {
    stopOutsideClickMonitoring();
    auto& monitors = platform::EventMonitors::shared();
    auto& queue = platform::AppContext::current().mainQueue();
    // Hiding waits for the next turn, so a click on the status item that
    // toggles the panel is not undone by the monitor that saw it first.
    auto hideLater = [weak = weak_from_this(), &queue] {
        queue.async([weak] {
            if (auto self = weak.lock()) self->hideCalendar();
        });
    };
    const int panelNumber = panel_ ? panel_->windowNumber() : 0;
    localClickMonitor_ = monitors.addLocalMonitor(mouseDowns, [hideLater, panelNumber](const platform::Event& event) {
        if (event.windowNumber != panelNumber) hideLater();
        return std::optional<platform::Event>(event);
    });
    globalClickMonitor_ = monitors.addGlobalMonitor(mouseDowns, [hideLater](const platform::Event&) { hideLater(); });
}

void CalendarPanelController::stopOutsideClickMonitoring() {
    auto* monitors = platform::AppContext::current().sharedIfMade<platform::EventMonitors>();
    if (monitors) {
        if (localClickMonitor_) monitors->removeMonitor(*localClickMonitor_);
        if (globalClickMonitor_) monitors->removeMonitor(*globalClickMonitor_);
    }
    localClickMonitor_.reset();
    globalClickMonitor_.reset();
}

}  // namespace tallowmere
