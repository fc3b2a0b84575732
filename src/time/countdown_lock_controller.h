#pragma once

#include <memory>

namespace tallowmere {

namespace platform {
class MenuItem;
}

// Locks the screen when a chosen time has passed. One per process
// (`shared()`).
//
// For now the countdown cannot start: locking the screen comes with the
// timed screen lock, so its durations are shown disabled.
class CountdownLockController {
public:
    static constexpr int presetMinutes[] = {5, 10, 15, 30, 60};

    static CountdownLockController& shared();

    CountdownLockController() = default;
    CountdownLockController(const CountdownLockController&) = delete;
    CountdownLockController& operator=(const CountdownLockController&) = delete;

    // A new status-menu item with its submenu; remembered weakly.
    std::shared_ptr<platform::MenuItem> makeMenuItem();

private:
    std::weak_ptr<platform::MenuItem> menuItem_;
};

}  // namespace tallowmere
