#pragma once

#include <cstdint>
#include <string>

#include "platform/gfx/geometry.h"

namespace tallowmere::platform {

// Kinds of input event. The raw values are the platform's event type numbers,
// so `eventMask(type)` gives the bit that monitors are installed with
// (left down 1 << 1, left up 1 << 2, left dragged 1 << 6, scroll 1 << 22).
enum class EventType : int {
    leftMouseDown = 1,
    leftMouseUp = 2,
    rightMouseDown = 3,
    rightMouseUp = 4,
    mouseMoved = 5,
    leftMouseDragged = 6,
    rightMouseDragged = 7,
    keyDown = 10,
    keyUp = 11,
    flagsChanged = 12,
    scrollWheel = 22,
    otherMouseDown = 25,
    otherMouseUp = 26,
    otherMouseDragged = 27,
    magnify = 30,
};

using EventMask = std::uint64_t;
constexpr EventMask eventMask(EventType type) {
    return EventMask{1} << static_cast<int>(type);
}
constexpr EventMask anyEventMask = ~EventMask{0};

constexpr bool isMouseDown(EventType t) {
    return t == EventType::leftMouseDown || t == EventType::rightMouseDown ||
           t == EventType::otherMouseDown;
}
constexpr bool isMouseUp(EventType t) {
    return t == EventType::leftMouseUp || t == EventType::rightMouseUp ||
           t == EventType::otherMouseUp;
}
constexpr bool isMouseDragged(EventType t) {
    return t == EventType::leftMouseDragged || t == EventType::rightMouseDragged ||
           t == EventType::otherMouseDragged;
}
constexpr bool isMouseEvent(EventType t) {
    return isMouseDown(t) || isMouseUp(t) || isMouseDragged(t) || t == EventType::mouseMoved;
}
constexpr bool isKeyEvent(EventType t) {
    return t == EventType::keyDown || t == EventType::keyUp || t == EventType::flagsChanged;
}

// Phases of a scroll or gesture, with the platform's raw values (a bit each).
enum class EventPhase : int {
    none = 0,
    began = 1,
    stationary = 2,
    changed = 4,
    ended = 8,
    cancelled = 16,
    mayBegin = 32,
};

// Modifier keys held during an event; raw values are the platform's flag bits
// so masks such as Command (0x100000) and Command+Option (0x180000) read as
// written.
struct ModifierFlags {
    std::uint64_t rawValue = 0;

    static constexpr std::uint64_t capsLock = 1u << 16;
    static constexpr std::uint64_t shift = 1u << 17;
    static constexpr std::uint64_t control = 1u << 18;
    static constexpr std::uint64_t option = 1u << 19;
    static constexpr std::uint64_t command = 1u << 20;
    static constexpr std::uint64_t numericPad = 1u << 21;
    static constexpr std::uint64_t help = 1u << 22;
    static constexpr std::uint64_t function = 1u << 23;
    // The keys a person holds, without the device-dependent low bits.
    static constexpr std::uint64_t deviceIndependentMask = 0xffff0000u;

    constexpr bool contains(std::uint64_t flags) const { return (rawValue & flags) == flags; }
    constexpr ModifierFlags deviceIndependent() const { return {rawValue & deviceIndependentMask}; }
    constexpr bool operator==(const ModifierFlags&) const = default;
};

// Virtual key codes of the ANSI layout that the program and the simulated
// applications look at.
namespace KeyCode {
constexpr std::uint16_t a = 0;
constexpr std::uint16_t x = 7;
constexpr std::uint16_t c = 8;
constexpr std::uint16_t v = 9;
constexpr std::uint16_t z = 6;
constexpr std::uint16_t returnKey = 36;
constexpr std::uint16_t tab = 48;
constexpr std::uint16_t space = 49;
constexpr std::uint16_t deleteKey = 51;
constexpr std::uint16_t escape = 53;
constexpr std::uint16_t keypadEnter = 76;
constexpr std::uint16_t forwardDelete = 117;
constexpr std::uint16_t home = 115;
constexpr std::uint16_t end = 119;
constexpr std::uint16_t leftArrow = 123;
constexpr std::uint16_t rightArrow = 124;
constexpr std::uint16_t downArrow = 125;
constexpr std::uint16_t upArrow = 126;
// Characters that come without a key (the character palette): no key of
// the keyboard has this code.
constexpr std::uint16_t textInput = 0xFFFF;
}  // namespace KeyCode

// One input event as the desktop delivers it. A plain value: monitors and
// handlers get a copy of what happened, stamped by the desktop when posted.
struct Event {
    EventType type = EventType::mouseMoved;
    ScreenPoint location{};  // pointer location in screen space
    double timestamp = 0;    // uptime in seconds, like the clock's `uptime`
    ModifierFlags modifierFlags{};
    int windowNumber = 0;  // window the event is addressed to; 0 for none

    // Mouse
    int clickCount = 0;
    int buttonNumber = 0;  // 0 left, 1 right, 2 and up other buttons
    double pressure = 0;

    // Keyboard
    std::uint16_t keyCode = 0;
    std::string characters{};  // with modifiers applied
    std::string charactersIgnoringModifiers{};
    bool isARepeat = false;

    // Scrolling (and magnification for `magnify`)
    double deltaX = 0;  // coarse deltas, in lines
    double deltaY = 0;
    double scrollingDeltaX = 0;  // precise deltas in points when `hasPreciseScrollingDeltas`
    double scrollingDeltaY = 0;
    bool hasPreciseScrollingDeltas = false;
    EventPhase phase = EventPhase::none;
    EventPhase momentumPhase = EventPhase::none;
    // Set when the user's "natural" scrolling turns the deltas against the
    // fingers' direction.
    bool isDirectionInvertedFromDevice = false;
    double magnification = 0;

    // Builders for the common shapes; the desktop fills in the timestamp and
    // window when the event is posted without them.
    static Event mouse(EventType type, ScreenPoint location, int clickCount = 1,
                       ModifierFlags flags = {});
    static Event key(EventType type, std::uint16_t keyCode, std::string characters,
                     ModifierFlags flags = {});
    static Event scroll(ScreenPoint location, double dx, double dy, EventPhase phase,
                        EventPhase momentumPhase = EventPhase::none, bool precise = true,
                        bool inverted = false);
};

}  // namespace tallowmere::platform
