#pragma once

#include "platform/desktop/desktop.h"

namespace tallowmere::testing {

enum class MouseButton { left, right, other };

// A person's hand on the mouse: moves, presses, clicks and drags, each
// posted to the desktop and handled before the call returns. Movements are
// split into steps with `stepInterval` of virtual time between them, so
// timers due during a drag run at their moment. Locations are in screen
// space; `desktop.screens().toScreen(axPoint)` converts.
//
// Not suited to: pressure or tablet input, several buttons held at once
// with separate click counts.
class MouseDriver {
  public:
    explicit MouseDriver(platform::Desktop& desktop) : desktop_(desktop) {}
    MouseDriver(const MouseDriver&) = delete;
    MouseDriver& operator=(const MouseDriver&) = delete;

    platform::ScreenPoint location() const { return desktop_.input().mouseLocation(); }
    // Held modifier keys, sent with every event.
    platform::ModifierFlags modifiers;
    double stepInterval = 1.0 / 60;

    // Moves (or drags, while a button is down) in `steps` equal steps.
    void moveTo(platform::ScreenPoint to, int steps = 1);
    void press(MouseButton button = MouseButton::left, int clickCount = 1);
    void release(MouseButton button = MouseButton::left);
    void click(platform::ScreenPoint at, MouseButton button = MouseButton::left);
    void doubleClick(platform::ScreenPoint at);
    // Press at `from`, drag to `to`, release there.
    void drag(platform::ScreenPoint from, platform::ScreenPoint to, int steps = 8);
    // Takes the window by its title bar (the middle of it, 10 pt below the
    // top edge) and drops it with the pointer at `to`.
    void dragTitleBar(const platform::SimulatedWindow& window, platform::ScreenPoint to,
                      int steps = 8);
    // The grip point `dragTitleBar` uses.
    platform::ScreenPoint titleBarPoint(const platform::SimulatedWindow& window) const;
    // Presses at `at`, holds still for `seconds` of virtual time, releases.
    void longPress(platform::ScreenPoint at, double seconds);

  private:
    void post(platform::EventType type, platform::ScreenPoint at, int clickCount);

    platform::Desktop& desktop_;
    int pressedButtons_ = 0;
    int lastClickCount_ = 1;
};

}  // namespace tallowmere::testing
