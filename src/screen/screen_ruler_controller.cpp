#include "screen/screen_ruler_controller.h"

#include "platform/desktop/desktop.h"
#include "platform/desktop/pasteboard.h"
#include "platform/runtime/app_context.h"
#include "platform/ui/desktop_link.h"
#include "screen/screen_ruler_view.h"

namespace tallowmere {

using namespace platform;

namespace {

bool isCopyKey(const Event& event) {
    return event.keyCode == KeyCode::returnKey || event.keyCode == KeyCode::keypadEnter;
}

}  // namespace

ScreenRulerController& ScreenRulerController::shared() { return AppContext::current().shared<ScreenRulerController>(); }

std::shared_ptr<ScreenRulerView> ScreenRulerController::view() const {
    return panel_ ? std::dynamic_pointer_cast<ScreenRulerView>(panel_->contentView()) : nullptr;
}

void ScreenRulerController::showFromMenu() {
    if (isShowing()) {
        close();
        return;
    }
    // A panel left hidden (the program was hidden, say) goes with its
    // monitors before a new one is made.
    if (panel_) close();
    auto& desktop = DesktopLink::desktop();
    auto& screens = desktop.screens();
    auto screen = screens.screenContaining(desktop.input().mouseLocation());
    if (!screen) screen = screens.mainScreen();
    if (!screen) {
        auto all = screens.screens();
        if (all.empty()) return;
        screen = all.front();
    }
    auto panel = Window::make<ScreenRulerPanel>(screen->frame(), WindowStyleMask{WindowStyleMask::nonactivatingPanel});
    panel->setLevel(panelLevel);
    panel->setBackgroundColor(Color::clear());
    panel->setOpaque(false);
    panel->setHasShadow(false);
    panel->setHidesOnDeactivate(false);
    panel->becomesKeyOnlyIfNeeded = true;
    panel->setCollectionBehavior(panelCollectionBehavior);
    panel->setFrame(screen->frame(), true);
    auto view = ScreenRulerView::make({{0, 0}, screen->frame().size});
    view->setAutoresizingMask(AutoresizingMask::widthSizable | AutoresizingMask::heightSizable);
    std::weak_ptr<ScreenRulerController> weak = weak_from_this();
    view->onClose = [weak] {
        if (auto self = weak.lock()) self->close();
    };
    panel->setContentView(view);
    panel_ = panel;
    installEscapeMonitors();
    panel->orderFrontRegardless();
}

void ScreenRulerController::installEscapeMonitors() {
    auto& monitors = EventMonitors::shared();
    const EventMask keyDown = eventMask(EventType::keyDown);
    std::weak_ptr<ScreenRulerController> weak = weak_from_this();
    localKeyMonitor_ = monitors.addLocalMonitor(keyDown, [weak](const Event& event) -> std::optional<Event> {
        auto self = weak.lock();
        if (!self || !self->panel_) return event;
        if (event.keyCode == KeyCode::escape) {
            self->close();
            return std::nullopt;
        }
        if (isCopyKey(event)) {
            self->copyAndClose();
            return std::nullopt;
        }
        return event;
    });
    // Another application's keys cannot be swallowed; the work waits for
    // the main queue's next turn.
    globalKeyMonitor_ = monitors.addGlobalMonitor(keyDown, [weak](const Event& event) {
        if (event.keyCode != KeyCode::escape && !isCopyKey(event)) return;
        const bool copies = isCopyKey(event);
        AppContext::current().mainQueue().async([weak, copies] {
            auto self = weak.lock();
            if (!self) return;
            if (copies) {
                self->copyAndClose();
            } else {
                self->close();
            }
        });
    });
}

void ScreenRulerController::copyAndClose() {
    if (auto ruler = view()) {
        if (auto length = ruler->lastSegmentLength()) {
            auto& pasteboard = Pasteboard::general();
            pasteboard.clearContents();
            pasteboard.setString(ruler->formattedDistance(*length));
        }
    }
    close();
}

void ScreenRulerController::close() {
    auto& monitors = EventMonitors::shared();
    if (localKeyMonitor_) monitors.removeMonitor(*localKeyMonitor_);
    if (globalKeyMonitor_) monitors.removeMonitor(*globalKeyMonitor_);
    localKeyMonitor_.reset();
    globalKeyMonitor_.reset();
    if (panel_) panel_->orderOut();
    panel_.reset();
}

}  // namespace tallowmere
