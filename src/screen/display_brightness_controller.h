#pragma once

#include <memory>

namespace tallowmere {

namespace platform {
class MenuItem;
}

// Brightness of the built-in and external displays; its texts are fixed
// Chinese in every language. One per process
// (`shared()`).
//
// For now the displays are never read, so the submenu keeps its waiting
// line; reading and setting brightness come with the brightness feature.
class DisplayBrightnessController {
public:
    static DisplayBrightnessController& shared();

    DisplayBrightnessController() = default;
    DisplayBrightnessController(const DisplayBrightnessController&) = delete;
    DisplayBrightnessController& operator=(const DisplayBrightnessController&) = delete;

    // A new "亮度调节" item with its submenu; each call makes a new one.
    std::shared_ptr<platform::MenuItem> makeMenuItem();
};

}  // namespace tallowmere
