#include "toys/disco_light_show_controller.h"

#include <algorithm>

#include "platform/desktop/desktop.h"
#include "platform/runtime/app_context.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/main_queue.h"
#include "platform/runtime/timer.h"
#include "platform/runtime/work_item.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/window.h"
#include "platform/ui/window_style.h"
#include "toys/disco_ball_launcher_view.h"
#include "toys/disco_light_show_view.h"

namespace tallowmere {

using namespace platform;

namespace {

constexpr WindowCollectionBehavior everySpace{WindowCollectionBehavior::canJoinAllSpaces |
                                              WindowCollectionBehavior::stationary |
                                              WindowCollectionBehavior::fullScreenAuxiliary};

double uptime() { return AppContext::current().clock().uptime(); }

void prepareOverlay(Panel& panel, int level) {
    panel.setOpaque(false);
    panel.setBackgroundColor(Color::clear());
    panel.setHidesOnDeactivate(false);
    panel.setHasShadow(false);
    panel.setLevel(level);
    panel.setCollectionBehavior(everySpace);
    panel.isReleasedWhenClosed = false;
}

}  // namespace

DiscoLightShowController& DiscoLightShowController::shared() {
    return AppContext::current().shared<DiscoLightShowController>();
}

DiscoLightShowController::~DiscoLightShowController() {
    if (animationTimer_) animationTimer_->invalidate();
    if (automaticStopWorkItem_) automaticStopWorkItem_->cancel();
    if (keyMonitor_) EventMonitors::shared().removeMonitor(*keyMonitor_);
}

void DiscoLightShowController::presentLauncherFromMenu(MenuItem& /*sender*/) { presentLauncher(); }

void DiscoLightShowController::presentLauncher() {
    cancelPendingClicks();
    stopLightShow();
    for (const auto& panel : launcherPanels_) panel->orderOut();
    launcherPanels_.clear();

    const std::weak_ptr<DiscoLightShowController> weakSelf = weak_from_this();
    for (const auto& screen : DesktopLink::desktop().screens().screens()) {
        const DisplayID displayID = screen->displayID();
        const ScreenRect visible = screen->visibleFrame();
        const ScreenRect frame{visible.midX() - launcherSide / 2, visible.maxY() - launcherSide - 12, launcherSide,
                               launcherSide};
        auto panel = Window::make<Panel>(frame, WindowStyleMask{WindowStyleMask::nonactivatingPanel});
        prepareOverlay(*panel, launcherLevel);

        auto view = DiscoBallLauncherView::make({0, 0, launcherSide, launcherSide});
        view->displayID = displayID;
        view->onActivate = [weakSelf, displayID] {
            if (auto self = weakSelf.lock()) self->activateLauncher(displayID);
        };
        view->onDismiss = [weakSelf] {
            if (auto self = weakSelf.lock()) self->dismissLaunchers();
        };
        view->setToolTip(launcherToolTip);
        panel->setContentView(view);
        launcherPanels_.push_back(panel);
        panel->orderFrontRegardless();
    }
}

void DiscoLightShowController::activateLauncher(const std::shared_ptr<Screen>& screen) {
    auto target = screen ? screen : DesktopLink::desktop().screens().mainScreen();
    if (!target) return;
    activateLauncher(target->displayID());
}

void DiscoLightShowController::activateLauncher(DisplayID displayID) {
    const auto found = lightShowPanels_.find(displayID);
    if (found == lightShowPanels_.end()) {
        startLightShow();
        return;
    }
    auto panel = found->second;
    lightShowPanels_.erase(found);
    panel->orderOut();
    if (lightShowPanels_.empty()) stopLightShow();
}

void DiscoLightShowController::toggleLightShow() {
    if (isRunning()) stopLightShow();
    else startLightShow();
}

void DiscoLightShowController::startLightShow() {
    if (launcherPanels_.empty()) presentLauncher();
    stopLightShow();
    rotation_ = 0;
    animationElapsed_ = 0;
    lastFrameTime_ = uptime();

    auto& arrangement = DesktopLink::desktop().screens();
    auto screens = arrangement.screens();
    if (screens.empty()) {
        if (auto main = arrangement.mainScreen()) screens.push_back(main);
    }
    const std::weak_ptr<DiscoLightShowController> weakSelf = weak_from_this();
    for (std::size_t i = 0; i < screens.size(); ++i) {
        const auto& screen = screens[i];
        const DisplayID displayID = screen->displayID();
        const ScreenRect frame = screen->frame();
        const ScreenRect visible = screen->visibleFrame();
        auto panel = Window::make<DiscoDisplayPanel>(frame, WindowStyleMask{WindowStyleMask::nonactivatingPanel});
        prepareOverlay(*panel, showLevel);
        panel->setIgnoresMouseEvents(true);

        auto view = DiscoLightShowView::make({{0, 0}, frame.size});
        view->screenIndex = static_cast<int>(i);
        view->lightOrigin = {visible.midX() - frame.minX(), visible.maxY() - frame.minY() - 75};
        view->onStop = [weakSelf, displayID] {
            if (auto self = weakSelf.lock()) self->activateLauncher(displayID);
        };
        panel->setContentView(view);
        panel->setFrame(frame, false);
        if (auto earlier = lightShowPanels_.find(displayID); earlier != lightShowPanels_.end()) earlier->second->orderOut();
        lightShowPanels_[displayID] = panel;
        panel->orderFrontRegardless();
    }

    keyMonitor_ = EventMonitors::shared().addLocalMonitor(
        eventMask(EventType::keyDown), [weakSelf](const Event& event) -> std::optional<Event> {
            if (event.keyCode != escapeKeyCode) return event;
            if (auto self = weakSelf.lock()) self->stopLightShow();
            return std::nullopt;
        });
    animationTimer_ = Timer::scheduledTimer(frameInterval, true, [weakSelf](Timer&) {
        if (auto self = weakSelf.lock()) self->animationFrame();
    });
    automaticStopWorkItem_ = WorkItem::make([weakSelf] {
        if (auto self = weakSelf.lock()) self->stopLightShow();
    });
    AppContext::current().mainQueue().asyncAfter(showDuration, automaticStopWorkItem_);
}

void DiscoLightShowController::animationFrame() {
    const double now = uptime();
    const double dt = std::clamp(now - lastFrameTime_, 0.0, 0.1);
    lastFrameTime_ = now;
    animationElapsed_ += dt;
    const double factor = DesktopLink::desktop().accessibilityDisplayShouldReduceMotion() ? reducedMotionFactor : 1.0;
    rotation_ += dt * radiansPerSecond * factor;
    for (const auto& [displayID, panel] : lightShowPanels_) {
        if (auto view = std::dynamic_pointer_cast<DiscoLightShowView>(panel->contentView())) view->setPhase(rotation_);
    }
    for (const auto& panel : launcherPanels_) {
        auto view = launcherView(*panel);
        if (view && lightShowPanels_.contains(view->displayID)) view->setRotation(rotation_);
    }
}

void DiscoLightShowController::stopLightShow() {
    if (animationTimer_) animationTimer_->invalidate();
    animationTimer_.reset();
    if (automaticStopWorkItem_) automaticStopWorkItem_->cancel();
    automaticStopWorkItem_.reset();
    if (keyMonitor_) EventMonitors::shared().removeMonitor(*keyMonitor_);
    keyMonitor_.reset();
    auto panels = std::move(lightShowPanels_);
    lightShowPanels_.clear();
    for (const auto& [displayID, panel] : panels) panel->orderOut();
}

void DiscoLightShowController::dismissLaunchers() {
    cancelPendingClicks();
    stopLightShow();
    auto panels = std::move(launcherPanels_);
    launcherPanels_.clear();
    for (const auto& panel : panels) panel->orderOut();
}

void DiscoLightShowController::cancelPendingClicks() {
    for (const auto& panel : launcherPanels_) {
        if (auto view = launcherView(*panel)) view->cancelPendingClick();
    }
}

std::shared_ptr<DiscoBallLauncherView> DiscoLightShowController::launcherView(const Panel& panel) const {
    return std::dynamic_pointer_cast<DiscoBallLauncherView>(panel.contentView());
}

}  // namespace tallowmere
