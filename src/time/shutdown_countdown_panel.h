#pragma once

#include <functional>
#include <memory>
#include <string>

namespace tallowmere {

namespace platform {
class Label;
class Panel;
class Timer;
}  // namespace platform

// The last-chance panel before a scheduled shutdown: counts down, then runs
// its completion, unless the person cancels it (its button or Escape). The
// application delegate makes one and reuses it.
class ShutdownCountdownPanel : public std::enable_shared_from_this<ShutdownCountdownPanel> {
public:
    ShutdownCountdownPanel() = default;
    ~ShutdownCountdownPanel();
    ShutdownCountdownPanel(const ShutdownCountdownPanel&) = delete;
    ShutdownCountdownPanel& operator=(const ShutdownCountdownPanel&) = delete;

    // Shows the panel counting down from `seconds`; `completion` runs once
    // it reaches zero. Replaces a countdown already shown.
    void show(int seconds, std::function<void()> completion);
    // Closes the panel; the completion never runs.
    void cancel();

    bool isShown() const { return panel_ != nullptr; }
    const std::shared_ptr<platform::Panel>& panel() const { return panel_; }
    int remainingSeconds() const { return remainingSeconds_; }

    // "N 秒后将自动关机" or "Shutting down in N seconds".
    static std::string countdownText(int seconds);

private:
    void tick();
    void updateLabel();

    std::shared_ptr<platform::Panel> panel_;
    std::shared_ptr<platform::Timer> timer_;
    int remainingSeconds_ = 0;
    std::function<void()> completion_;
    std::weak_ptr<platform::Label> countdownLabel_;
};

}  // namespace tallowmere
