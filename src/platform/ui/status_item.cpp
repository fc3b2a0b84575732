#include "platform/ui/status_item.h"

#include <cstdio>

#include "platform/ui/status_bar.h"
#include "platform/ui/status_bar_button.h"
#include "platform/ui/ui_trace.h"
#include "platform/ui/window.h"

namespace tallowmere::platform {

namespace {

// The small window each status item's button lives in.
class StatusBarWindow final : public Window {
public:
    StatusBarWindow(MakeKey key, ScreenRect frame) : Window(key, frame, WindowStyleMask::borderless) {
        setTracesOrdering(false);
    }
    bool canBecomeKey() const override { return false; }
    bool canBecomeMain() const override { return false; }
};

}  // namespace

StatusItem::StatusItem(Private, double length) : length_(length) {}

void StatusItem::setUp() {
    button_ = StatusBarButton::make(weak_from_this());
    window_ = Window::make<StatusBarWindow>(ScreenRect{0, 0, 0, StatusBar::thickness});
    window_->setLevel(WindowLevel::status);
    window_->setOpaque(false);
    window_->setBackgroundColor(Color::clear());
    window_->setHasShadow(false);
    window_->setCollectionBehavior(WindowCollectionBehavior::canJoinAllSpaces | WindowCollectionBehavior::stationary);
    window_->setContentView(button_);
}

std::string StatusItem::name() const {
    return autosaveName_.empty() ? "#" + std::to_string(window_ ? window_->windowNumber() : 0)
                                 : quotedForTrace(autosaveName_);
}

void StatusItem::trace(const std::string& what) const {
    if (removed_) return;
    UiTrace::shared().record("status item " + name() + " " + what);
}

double StatusItem::width() const {
    if (!visible_ || removed_) return 0;
    if (length_ == squareLength) return StatusBar::thickness;
    if (length_ == variableLength) return button_ ? button_->contentWidth() : 0;
    return length_ > 0 ? length_ : 0;
}

void StatusItem::setLength(double length) {
    const bool changed = length != length_;
    length_ = length;
    if (removed_) return;
    if (changed) {
        char text[48];
        std::snprintf(text, sizeof text, "length %g", length);
        trace(text);
    }
    StatusBar::shared().layout();
}

void StatusItem::setAutosaveName(std::string name) {
    if (name == autosaveName_) return;
    const auto before = this->name();
    autosaveName_ = std::move(name);
    if (!removed_) UiTrace::shared().record("status item " + before + " named " + quotedForTrace(autosaveName_));
}

void StatusItem::setVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    trace(visible ? "shown" : "hidden");
    if (!removed_) StatusBar::shared().layout();
}

ScreenRect StatusItem::frame() const {
    if (!visible_ || removed_ || !window_ || !window_->isVisible()) return {};
    return window_->frame();
}

void StatusItem::place(ScreenRect frame) {
    if (!window_) return;
    if (!visible_ || frame.isEmpty()) {
        window_->orderOut();
        return;
    }
    window_->setFrame(frame);
    if (!window_->isVisible()) window_->orderFrontRegardless();
}

void StatusItem::takeDown() {
    trace("removed");
    removed_ = true;
    if (window_) window_->orderOut();
}

}  // namespace tallowmere::platform
