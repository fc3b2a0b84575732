#pragma once

#include <cstdint>
#include <string>

#include "platform/desktop/event.h"
#include "platform/viewer/viewer_geometry.h"

namespace tallowmere::platform {

// One thing the person did in the viewer's window, as the window system
// reported it, before it becomes a desktop event: what the window layer
// hands to the main queue, free of any window-system type.
struct ViewerInput {
    enum class Kind {
        pointerMoved,
        buttonPressed,
        buttonReleased,
        wheel,
        // A touchpad's two-finger scroll, which X reports as smooth amounts
        // without phases.
        smoothScroll,
        keyPressed,
        keyReleased,
        // The window lost the keyboard: keys held now are released elsewhere.
        focusLost,
    };

    Kind kind = Kind::pointerMoved;
    // Uptime when the window system delivered it, so a busy main queue does
    // not turn a double click into two single ones.
    double timestamp = 0;
    PixelPoint pixel{};
    // The modifier keys held before this input.
    ModifierFlags modifiers{};

    // Buttons are numbered as the platform does: 0 left, 1 right, 2 middle,
    // 3 and up the others.
    int button = 0;

    // Wheel notches, in lines: +y away from the person, +x to the left.
    double wheelX = 0;
    double wheelY = 0;
    // Smooth scrolling, in points, in the same sense as the wheel.
    double scrollX = 0;
    double scrollY = 0;
    // The device turns the fingers' direction around ("natural" scrolling).
    bool isDirectionInverted = false;

    // Keys
    std::uint32_t keysym = 0;             // the key's symbol without Shift, for its key code
    std::string text{};                   // typed with the modifiers held
    std::string textIgnoringModifiers{};  // typed with Shift alone
    bool isRepeat = false;
};

}  // namespace tallowmere::platform
