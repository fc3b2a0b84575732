#include "platform/ui/window_frame_controls.h"

#include <algorithm>
#include <cmath>

#include "platform/runtime/app_context.h"
#include "platform/ui/window.h"

namespace tallowmere::platform {

WindowFrameControls& WindowFrameControls::shared() { return AppContext::current().shared<WindowFrameControls>(); }

ScreenPoint WindowFrameControls::buttonCentre(ScreenRect frame, Button button) {
    return {frame.minX() + 15 + 20 * static_cast<int>(button), frame.maxY() - 14};
}

bool WindowFrameControls::isAvailable(const Window& window, Button button) {
    const auto mask = window.styleMask();
    switch (button) {
    case Button::close: return mask.contains(WindowStyleMask::closable);
    case Button::miniaturize: return mask.contains(WindowStyleMask::miniaturizable) && window.showsMiniaturizeButton;
    case Button::fullScreen: return mask.contains(WindowStyleMask::resizable) && window.showsZoomButton;
    }
    return false;
}

std::optional<WindowFrameControls::Button> WindowFrameControls::buttonAt(const Window& window, ScreenPoint location) {
    if (!window.styleMask().contains(WindowStyleMask::titled)) return std::nullopt;
    for (auto button : {Button::close, Button::miniaturize, Button::fullScreen}) {
        const auto centre = buttonCentre(window.frame(), button);
        // The button's element: 14 × 16 points around the drawn circle.
        if (std::abs(location.x - centre.x) <= 7 && std::abs(location.y - centre.y) <= 8) {
            return isAvailable(window, button) ? std::optional(button) : std::nullopt;
        }
    }
    return std::nullopt;
}

bool WindowFrameControls::handle(Window& window, const Event& event) {
    // A press starts afresh, whatever became of an earlier drag.
    if (event.type == EventType::leftMouseDown) resize_.reset();
    if (resize_ && resize_->windowNumber == window.windowNumber()) {
        if (event.type == EventType::leftMouseDragged) {
            const double dx = event.location.x - resize_->start.x;
            const double dy = event.location.y - resize_->start.y;
            const Size minimum = window.minSize();
            ScreenRect frame = resize_->frame;
            if (resize_->right) frame.size.width = std::max(minimum.width, frame.width() + dx);
            if (resize_->left) {
                const double width = std::max(minimum.width, frame.width() - dx);
                frame.origin.x = frame.maxX() - width;
                frame.size.width = width;
            }
            if (resize_->top) frame.size.height = std::max(minimum.height, frame.height() + dy);
            if (resize_->bottom) {
                const double height = std::max(minimum.height, frame.height() - dy);
                frame.origin.y = frame.maxY() - height;
                frame.size.height = height;
            }
            window.setFrame(frame);
            return true;
        }
        if (event.type == EventType::leftMouseUp) {
            resize_.reset();
            return true;
        }
        return false;
    }
    if (event.type != EventType::leftMouseDown || !window.styleMask().contains(WindowStyleMask::titled)) return false;

    if (auto button = buttonAt(window, event.location)) {
        switch (*button) {
        case Button::close: window.performClose(); break;
        case Button::miniaturize: window.miniaturize(); break;
        case Button::fullScreen: window.toggleFullScreen(); break;
        }
        return true;
    }
    if (!window.styleMask().contains(WindowStyleMask::resizable) || window.isFullScreen()) return false;
    const ScreenRect frame = window.frame();
    Resize resize;
    resize.left = event.location.x < frame.minX() + resizeMargin;
    resize.right = event.location.x > frame.maxX() - resizeMargin;
    resize.bottom = event.location.y < frame.minY() + resizeMargin;
    resize.top = event.location.y > frame.maxY() - resizeMargin;
    if (!resize.left && !resize.right && !resize.bottom && !resize.top) return false;
    resize.windowNumber = window.windowNumber();
    resize.start = event.location;
    resize.frame = frame;
    resize_ = resize;
    return true;
}

}  // namespace tallowmere::platform
