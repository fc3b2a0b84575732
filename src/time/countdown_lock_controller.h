#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/date.h"

namespace tallowmere {

namespace platform {
class Menu;
class SerialQueue;
class MenuItem;
class Timer;
}  // namespace platform

// Locks the screen when a chosen number of minutes has passed, from a
// status-menu item with presets, a custom duration and cancel. The
// countdown lives in memory only: quitting cancels it. One per process
// (`shared()`).
class CountdownLockController {
public:
    static constexpr int presetMinutes[] = {5, 10, 15, 30, 60};
    static constexpr int longestMinutes = 1440;

    static CountdownLockController& shared();

    // Loads the lock's entry point once, as the program does at start.
    CountdownLockController();
    ~CountdownLockController();
    CountdownLockController(const CountdownLockController&) = delete;
    CountdownLockController& operator=(const CountdownLockController&) = delete;

    // A new status-menu item with its submenu; remembered weakly.
    std::shared_ptr<platform::MenuItem> makeMenuItem();

    // --- Menu actions ---------------------------------------------------------
    void selectDuration(int minutes);
    // Asks for whole minutes from 1 to 1440 and starts with them.
    void customDuration();
    void cancelCountdown();
    void openSettings();

    // Starts (or restarts) the countdown; nothing outside 1...1440 or while
    // the screen lock is unavailable.
    void start(int minutes);
    void tick();
    void updateMenu();
    // Reads the system's own lock settings on the settings queue, then
    // shows them in the submenu; a read already under way is not repeated.
    void refreshSystemSettings();
    // What a reader printed (output and errors together), or absent when it
    // could not start, failed, printed no UTF-8 or ran past its limit.
    static std::optional<std::string> command(const std::string& path, const std::vector<std::string>& arguments);

    // A reader still running this long is ended: the menu must not wait on it.
    static constexpr double readerTimeLimit = 3.0;
    static constexpr const char* settingsQueueLabel = "com.quenlow.tallowmere.lock-settings";

    // "倒计时锁屏 · 00:04:59", or "倒计时锁屏 · 未启用" while idle.
    std::string title() const;

    bool isRunning() const { return deadline_.has_value(); }
    std::optional<int> selectedMinutes() const { return selectedMinutes_; }
    const std::vector<std::string>& systemRows() const { return systemRows_; }

private:
    void applyTitle(platform::MenuItem& item) const;
    void populate(platform::Menu& menu);
    void showAlert(std::string text) const;

    std::optional<platform::Date> deadline_;
    std::weak_ptr<platform::MenuItem> menuItem_;
    std::optional<int> selectedMinutes_;
    std::shared_ptr<platform::Timer> timer_;
    std::vector<std::string> systemRows_{"系统自动锁屏设置：读取中"};
    bool isRefreshingSettings_ = false;
    std::unique_ptr<platform::SerialQueue> settingsQueue_;
    // Whether the lock's entry point could be loaded at start.
    bool loginFrameworkLoaded_ = false;
};

}  // namespace tallowmere
