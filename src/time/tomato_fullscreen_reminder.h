#pragma once

namespace tallowmere {

// The full-screen reminder shown when a pomodoro's time is up. The
// application delegate makes one at its construction and keeps it.
//
// The reminder itself comes with the pomodoro timer.
class TomatoFullscreenReminder {
public:
    TomatoFullscreenReminder() = default;
    TomatoFullscreenReminder(const TomatoFullscreenReminder&) = delete;
    TomatoFullscreenReminder& operator=(const TomatoFullscreenReminder&) = delete;
};

}  // namespace tallowmere
