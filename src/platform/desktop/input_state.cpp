#include "platform/desktop/input_state.h"

#include <algorithm>

#include "platform/runtime/clock.h"

namespace tallowmere::platform {

double InputState::secondsSinceLastEvent(EventType type) const {
    auto it = lastUptime_.find(type);
    const double since = it == lastUptime_.end() ? 0 : it->second;
    return clock_.uptime() - since;
}

double InputState::secondsSinceLastEvent() const {
    return clock_.uptime() - (lastAnyUptime_ < 0 ? 0 : lastAnyUptime_);
}

void InputState::apply(const Event& event) {
    if (isMouseEvent(event.type) || event.type == EventType::scrollWheel ||
        event.type == EventType::magnify) {
        mouseLocation_ = event.location;
    }
    const unsigned bit = 1u << std::min(std::max(event.buttonNumber, 0), 31);
    if (isMouseDown(event.type)) pressedButtons_ |= bit;
    if (isMouseUp(event.type)) pressedButtons_ &= ~bit;
    modifiers_ = event.modifierFlags;
    lastUptime_[event.type] = event.timestamp;
    lastAnyUptime_ = event.timestamp;
}

}  // namespace tallowmere::platform
