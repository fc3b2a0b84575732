#include "platform/ui/window_controller.h"

#include "platform/ui/window.h"

namespace tallowmere::platform {

void WindowController::setWindow(std::shared_ptr<Window> window) {
    window_ = std::move(window);
    linkWindow();
}

void WindowController::linkWindow() {
    auto self = weak_from_this();
    if (window_ && !self.expired()) window_->windowController_ = self;
}

void WindowController::showWindow() {
    if (window_) window_->makeKeyAndOrderFront();
}

void WindowController::close() {
    if (window_) window_->close();
}

}  // namespace tallowmere::platform
