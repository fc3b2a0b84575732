#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "platform/ui/event_monitors.h"
#include "platform/ui/window.h"

namespace tallowmere {

namespace platform {
class WorkItem;
}

// A black panel that can take the keyboard, so Escape reaches the reminder.
class TomatoReminderDisplayPanel : public platform::Panel {
public:
    using Panel::Panel;
    bool canBecomeKey() const override { return true; }
};

// The full-screen reminder shown when a pomodoro's time is up: one black
// panel per screen with a tomato and "time's up", until a click, Escape or
// `hideAfterSeconds`. The application delegate makes one and reuses it.
class TomatoFullscreenReminder : public std::enable_shared_from_this<TomatoFullscreenReminder> {
public:
    static constexpr double hideAfterSeconds = 15.0;
    static constexpr int escapeKeyCode = 53;

    TomatoFullscreenReminder() = default;
    ~TomatoFullscreenReminder();
    TomatoFullscreenReminder(const TomatoFullscreenReminder&) = delete;
    TomatoFullscreenReminder& operator=(const TomatoFullscreenReminder&) = delete;

    // Covers every screen, replacing a reminder already shown.
    void showReminder();
    // Takes the panels, the input monitor and the pending hide away.
    void dismissReminder();

    bool isShown() const { return !panels_.empty() || eventMonitor_.has_value(); }
    const std::vector<std::shared_ptr<TomatoReminderDisplayPanel>>& panels() const { return panels_; }

private:
    std::vector<std::shared_ptr<TomatoReminderDisplayPanel>> panels_;
    std::optional<platform::EventMonitorToken> eventMonitor_;
    std::shared_ptr<platform::WorkItem> hideWorkItem_;
};

}  // namespace tallowmere
