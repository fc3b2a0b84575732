#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <sys/types.h>
#include <variant>

#include "platform/desktop/ax_element.h"
#include "windows/window_pin_error.h"

namespace tallowmere {

// Keeps a read-only picture of another application's window floating above
// the others. One controller is owned by the application delegate and made
// with it, with nothing pinned.
//
// For now it finds the window to pin but cannot show its picture, so a pin
// request ends with `levelChangeFailed`; the mirror panel and its capture
// timer come with the window-pin feature.
class WindowPinController {
public:
    struct PinnedWindow {
        std::uint32_t windowID = 0;
        platform::AXElement element;
        std::string title;
    };
    // Pinned (true), unpinned (false) or why not.
    using ToggleResult = std::variant<bool, WindowPinError>;

    WindowPinController() = default;
    WindowPinController(const WindowPinController&) = delete;
    WindowPinController& operator=(const WindowPinController&) = delete;

    // Present exactly while a pin is active.
    std::optional<PinnedWindow> pinnedWindow;

    // Unpins a pinned window, otherwise pins the focused window of
    // `preferredPID` (the frontmost application when absent).
    ToggleResult toggle(std::optional<pid_t> preferredPID);
    // Shows the picture over the window; false when it cannot.
    bool startMirror(std::uint32_t windowID, const platform::AXElement& element, const std::string& title);
    void stopMirror();
};

}  // namespace tallowmere
