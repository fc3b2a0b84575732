#pragma once

#include <functional>

namespace tallowmere {

namespace platform {
class MenuItem;
}

// The interactive screenshot tool. One per process (`shared()`).
//
// For now starting a capture does nothing: the capture, its hot key and
// the toast come with the screenshot tool.
class ScreenshotController {
public:
    static ScreenshotController& shared();

    ScreenshotController() = default;
    ScreenshotController(const ScreenshotController&) = delete;
    ScreenshotController& operator=(const ScreenshotController&) = delete;

    // Runs just before every capture (the selection bar hides itself).
    std::function<void()> onWillCapture;

    // Starts an interactive screenshot.
    void capture(platform::MenuItem& sender);
};

}  // namespace tallowmere
