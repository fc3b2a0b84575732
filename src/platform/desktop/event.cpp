#include "platform/desktop/event.h"

namespace tallowmere::platform {

Event Event::mouse(EventType type, ScreenPoint location, int clickCount, ModifierFlags flags) {
    Event e;
    e.type = type;
    e.location = location;
    e.modifierFlags = flags;
    e.clickCount = (type == EventType::mouseMoved) ? 0 : clickCount;
    switch (type) {
        case EventType::rightMouseDown:
        case EventType::rightMouseUp:
        case EventType::rightMouseDragged:
            e.buttonNumber = 1;
            break;
        case EventType::otherMouseDown:
        case EventType::otherMouseUp:
        case EventType::otherMouseDragged:
            e.buttonNumber = 2;
            break;
        default:
            e.buttonNumber = 0;
    }
    e.pressure = (isMouseDown(type) || isMouseDragged(type)) ? 1.0 : 0.0;
    return e;
}

Event Event::key(EventType type, std::uint16_t keyCode, std::string characters,
                 ModifierFlags flags) {
    Event e;
    e.type = type;
    e.keyCode = keyCode;
    e.charactersIgnoringModifiers = characters;
    e.characters = std::move(characters);
    e.modifierFlags = flags;
    return e;
}

Event Event::scroll(ScreenPoint location, double dx, double dy, EventPhase phase,
                    EventPhase momentumPhase, bool precise, bool inverted) {
    Event e;
    e.type = EventType::scrollWheel;
    e.location = location;
    e.scrollingDeltaX = dx;
    e.scrollingDeltaY = dy;
    // Coarse deltas are lines; a trackpad reports about ten points a line.
    e.deltaX = precise ? dx / 10.0 : dx;
    e.deltaY = precise ? dy / 10.0 : dy;
    e.hasPreciseScrollingDeltas = precise;
    e.phase = phase;
    e.momentumPhase = momentumPhase;
    e.isDirectionInvertedFromDevice = inverted;
    return e;
}

}  // namespace tallowmere::platform
