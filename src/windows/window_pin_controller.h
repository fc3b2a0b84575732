#pragma once

namespace tallowmere {

// Keeps a read-only picture of another application's window floating above
// the others. One controller is owned by the application delegate and made
// with it, with nothing pinned.
//
// Pinning itself comes with the window-pin feature.
class WindowPinController {
public:
    WindowPinController() = default;
    WindowPinController(const WindowPinController&) = delete;
    WindowPinController& operator=(const WindowPinController&) = delete;
};

}  // namespace tallowmere
