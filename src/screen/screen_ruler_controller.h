#pragma once

#include <memory>
#include <vector>

namespace tallowmere {

namespace platform {
class Window;
}

// The on-screen ruler: an overlay over every screen, closed
// with Escape or Return. One per process (`shared()`).
//
// For now the overlay marks the screens only; the ruler's measuring comes
// with the screen tools.
class ScreenRulerController {
public:
    static ScreenRulerController& shared();

    ScreenRulerController() = default;
    ScreenRulerController(const ScreenRulerController&) = delete;
    ScreenRulerController& operator=(const ScreenRulerController&) = delete;

    // Opens the overlay on every screen; again while open, nothing new.
    void showFromMenu();
    void close();
    bool isShowing() const { return !overlays_.empty(); }
    const std::vector<std::shared_ptr<platform::Window>>& overlays() const { return overlays_; }

private:
    std::vector<std::shared_ptr<platform::Window>> overlays_;
};

}  // namespace tallowmere
