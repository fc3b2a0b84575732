#pragma once

#include <memory>

namespace tallowmere {

namespace platform {
class MenuItem;
}

// Countdown to a chosen day, shown in the status menu. One per process
// (`shared()`).
//
// For now no day can be set: the editor and the stored day come with the
// countdown-day feature, so the menu item always offers to set one up.
class CountdownDayController {
public:
    static CountdownDayController& shared();

    CountdownDayController() = default;
    CountdownDayController(const CountdownDayController&) = delete;
    CountdownDayController& operator=(const CountdownDayController&) = delete;

    // Remembers the status menu's item weakly and gives it its title now.
    void bindMenuItem(const std::shared_ptr<platform::MenuItem>& item);
    // Opens the countdown-day editor.
    void presentEditor() {}

private:
    void refreshDisplay();

    std::weak_ptr<platform::MenuItem> menuItem_;
};

}  // namespace tallowmere
