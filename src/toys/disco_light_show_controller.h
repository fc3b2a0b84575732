#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "platform/desktop/screen.h"
#include "platform/ui/event_monitors.h"

namespace tallowmere {

namespace platform {
class MenuItem;
class Panel;
class Timer;
class WorkItem;
}

class DiscoBallLauncherView;
class DiscoLightShowView;

// The disco light show: a small spinning ball (the launcher) at the top
// centre of every screen; a click on it fills every screen with turning
// beams and drifting spots for `showDuration` seconds. One per process
// (`shared()`); nothing is stored.
class DiscoLightShowController : public std::enable_shared_from_this<DiscoLightShowController> {
public:
    static constexpr double launcherSide = 126;
    static constexpr int launcherLevel = 1001;
    static constexpr int showLevel = 1000;
    static constexpr double frameInterval = 1.0 / 30;
    static constexpr double showDuration = 30;
    static constexpr double radiansPerSecond = 0.54;
    static constexpr double reducedMotionFactor = 0.2;
    static constexpr int escapeKeyCode = 53;
    static constexpr const char* launcherToolTip = "点击启动所有屏幕；运行中点击停止本屏效果；双击关闭所有灯球";

    static DiscoLightShowController& shared();

    DiscoLightShowController() = default;
    ~DiscoLightShowController();
    DiscoLightShowController(const DiscoLightShowController&) = delete;
    DiscoLightShowController& operator=(const DiscoLightShowController&) = delete;

    // --- State ----------------------------------------------------------------
    const std::vector<std::shared_ptr<platform::Panel>>& launcherPanels() const { return launcherPanels_; }
    const std::map<platform::DisplayID, std::shared_ptr<platform::Panel>>& lightShowPanels() const {
        return lightShowPanels_;
    }
    bool isRunning() const { return !lightShowPanels_.empty(); }
    bool hasKeyMonitor() const { return keyMonitor_.has_value(); }
    bool hasAnimationTimer() const { return animationTimer_ != nullptr; }
    double rotation() const { return rotation_; }
    double animationElapsed() const { return animationElapsed_; }

    // --- Actions ----------------------------------------------------------------
    // The status menu's "Show Disco Ball".
    void presentLauncherFromMenu(platform::MenuItem& sender);
    // A launcher on every screen, in place of any shown (a running show stops).
    void presentLauncher();
    // What a click on the launcher of `screen` (the main screen when none) does.
    void activateLauncher(const std::shared_ptr<platform::Screen>& screen);
    // Stops the show on that display only, or starts it on all when it does not run there.
    void activateLauncher(platform::DisplayID displayID);
    void toggleLightShow();
    void startLightShow();
    void stopLightShow();
    // Stops the show and takes every launcher away.
    void dismissLaunchers();

    // One frame of the animation (the timer's).
    void animationFrame();

private:
    void cancelPendingClicks();
    std::shared_ptr<DiscoBallLauncherView> launcherView(const platform::Panel& panel) const;

    std::vector<std::shared_ptr<platform::Panel>> launcherPanels_;
    std::map<platform::DisplayID, std::shared_ptr<platform::Panel>> lightShowPanels_;
    std::shared_ptr<platform::Timer> animationTimer_;
    std::optional<platform::EventMonitorToken> keyMonitor_;
    std::shared_ptr<platform::WorkItem> automaticStopWorkItem_;
    double rotation_ = 0;
    double animationElapsed_ = 0;
    double lastFrameTime_ = 0;
};

}  // namespace tallowmere
