#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/date.h"
#include "platform/runtime/notification_center.h"
#include "platform/ui/event_monitors.h"
#include "platform/ui/window.h"

namespace tallowmere {

namespace platform {
class MenuItem;
class RunningApplication;
class TextField;
class Timer;
}

// A borderless window that can take the keyboard, so Escape reaches the
// countdown's monitor.
class MeetingBreakWindow : public platform::Window {
public:
    using Window::Window;
    bool canBecomeKey() const override { return true; }
    bool canBecomeMain() const override { return true; }
};

// The meeting-break countdown: every screen turns black and shows the
// minutes and seconds left in large digits until the time is up (a beep)
// or Escape (silent); then the application that was in front comes back.
// One per process (`shared()`).
class MeetingBreakCountdownController : public std::enable_shared_from_this<MeetingBreakCountdownController> {
public:
    static constexpr int longestMinutes = 1440;
    static constexpr double tickInterval = 0.2;
    static constexpr int escapeKeyCode = 53;
    static constexpr int windowLevel = 1000;

    static MeetingBreakCountdownController& shared();
    // Made with its observer of screen changes.
    static std::shared_ptr<MeetingBreakCountdownController> makeShared();

    MeetingBreakCountdownController() = default;
    ~MeetingBreakCountdownController();
    MeetingBreakCountdownController(const MeetingBreakCountdownController&) = delete;
    MeetingBreakCountdownController& operator=(const MeetingBreakCountdownController&) = delete;

    // True while a break end is set.
    bool isRunning() const { return endDate_.has_value(); }
    const std::vector<std::shared_ptr<MeetingBreakWindow>>& windows() const { return windows_; }
    // The text every screen shows ("25:00").
    std::string countdownText() const;

    // Starts a break of 1...1440 minutes (anything else is ignored),
    // replacing a running one silently.
    void start(int minutes);
    // Starts the break of the sender's tag in minutes.
    void startFromMenu(platform::MenuItem& sender);
    // Asks for a length and starts it; a bad entry gets an alert.
    void startCustomFromMenu(platform::MenuItem& sender);
    void startCustom();
    // Stops the running countdown without its sound.
    void stopFromMenu(platform::MenuItem& sender);

private:
    void stopCountdown(bool playCompletionSound);
    void rebuildWindows();
    void updateCountdown();
    void screenConfigurationChanged();
    void orderOutWindows();

    std::vector<std::shared_ptr<MeetingBreakWindow>> windows_;
    std::vector<std::shared_ptr<platform::TextField>> countdownLabels_;
    std::shared_ptr<platform::Timer> timer_;
    std::optional<platform::EventMonitorToken> keyMonitor_;
    std::optional<platform::Date> endDate_;
    std::weak_ptr<platform::RunningApplication> previousApplication_;
    std::optional<platform::ObserverToken> screensObserver_;
};

}  // namespace tallowmere
