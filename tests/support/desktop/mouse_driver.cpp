#include "support/desktop/mouse_driver.h"

#include <algorithm>

#include "support/desktop/desktop_driver.h"

namespace tallowmere::testing {

using platform::EventType;
using platform::ScreenPoint;

namespace {
EventType downType(MouseButton b) {
    return b == MouseButton::left    ? EventType::leftMouseDown
           : b == MouseButton::right ? EventType::rightMouseDown
                                     : EventType::otherMouseDown;
}
EventType upType(MouseButton b) {
    return b == MouseButton::left    ? EventType::leftMouseUp
           : b == MouseButton::right ? EventType::rightMouseUp
                                     : EventType::otherMouseUp;
}
int bit(MouseButton b) {
    return 1 << static_cast<int>(b);
}
}  // namespace

void MouseDriver::post(EventType type, ScreenPoint at, int clickCount) {
    desktop_.post(platform::Event::mouse(type, at, clickCount, modifiers));
}

void MouseDriver::moveTo(ScreenPoint to, int steps) {
    steps = std::max(steps, 1);
    const ScreenPoint from = location();
    EventType type = EventType::mouseMoved;
    if (pressedButtons_ & bit(MouseButton::left)) {
        type = EventType::leftMouseDragged;
    } else if (pressedButtons_ & bit(MouseButton::right)) {
        type = EventType::rightMouseDragged;
    } else if (pressedButtons_ & bit(MouseButton::other)) {
        type = EventType::otherMouseDragged;
    }
    for (int i = 1; i <= steps; ++i) {
        if (i > 1) letTimePass(stepInterval);
        const double t = static_cast<double>(i) / steps;
        post(type, {from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t},
             type == EventType::mouseMoved ? 0 : lastClickCount_);
    }
}

void MouseDriver::press(MouseButton button, int clickCount) {
    pressedButtons_ |= bit(button);
    lastClickCount_ = clickCount;
    post(downType(button), location(), clickCount);
}

void MouseDriver::release(MouseButton button) {
    pressedButtons_ &= ~bit(button);
    post(upType(button), location(), lastClickCount_);
}

void MouseDriver::click(ScreenPoint at, MouseButton button) {
    if (location() != at) moveTo(at);
    press(button);
    release(button);
}

void MouseDriver::doubleClick(ScreenPoint at) {
    if (location() != at) moveTo(at);
    press(MouseButton::left, 1);
    release();
    letTimePass(0.1);
    press(MouseButton::left, 2);
    release();
}

void MouseDriver::drag(ScreenPoint from, ScreenPoint to, int steps) {
    if (location() != from) moveTo(from);
    press();
    letTimePass(stepInterval);
    moveTo(to, steps);
    release();
}

ScreenPoint MouseDriver::titleBarPoint(const platform::SimulatedWindow& window) const {
    const platform::AXRect frame = window.axFrame();
    return desktop_.screens().toScreen(platform::AXPoint{frame.midX(), frame.minY() + 10});
}

void MouseDriver::dragTitleBar(const platform::SimulatedWindow& window, ScreenPoint to, int steps) {
    drag(titleBarPoint(window), to, steps);
}

void MouseDriver::longPress(ScreenPoint at, double seconds) {
    if (location() != at) moveTo(at);
    press();
    letTimePass(seconds);
    release();
}

}  // namespace tallowmere::testing
