#pragma once

#include <map>

#include "platform/desktop/event.h"
#include "platform/gfx/geometry.h"

namespace tallowmere::platform {

class Clock;

// The combined state of the input devices: where the pointer is, which
// buttons and modifier keys are down, and when each kind of event last
// happened. Every event posted to the desktop updates it before anyone sees
// the event.
class InputState {
  public:
    explicit InputState(const Clock& clock) : clock_(clock) {}
    InputState(const InputState&) = delete;
    InputState& operator=(const InputState&) = delete;

    ScreenPoint mouseLocation() const { return mouseLocation_; }
    // Bit n set while button n is down (bit 0 the left button).
    unsigned pressedMouseButtons() const { return pressedButtons_; }
    ModifierFlags modifierFlags() const { return modifiers_; }
    // Seconds of uptime since the last event of `type`; since start-up when
    // there was none.
    double secondsSinceLastEvent(EventType type) const;
    // The same for any kind of event.
    double secondsSinceLastEvent() const;

    void apply(const Event& event);
    // Moves the pointer without an event (the desktop viewer's warp).
    void warpMouse(ScreenPoint location) { mouseLocation_ = location; }

  private:
    const Clock& clock_;
    ScreenPoint mouseLocation_{720, 450};
    unsigned pressedButtons_ = 0;
    ModifierFlags modifiers_;
    std::map<EventType, double> lastUptime_;
    double lastAnyUptime_ = -1;
};

}  // namespace tallowmere::platform
