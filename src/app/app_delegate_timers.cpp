// The pomodoro and the scheduled shutdown as the status menu reaches them.
// The pomodoro counts down here; asking for a custom length, the reminder
// at its end and the shutdown itself come with the timers' own feature.
#include "app/app_delegate.h"
#include "app/menu_item_styling.h"
#include "localization/interface_language.h"
#include "platform/runtime/app_context.h"
#include "platform/runtime/timer.h"
#include "platform/ui/menu_item.h"

namespace tallowmere {

using namespace platform;

namespace {

constexpr double defaultPomodoroMinutes = 25;

}  // namespace

void AppDelegate::startDefaultPomodoro() {
    if (pomodoroEndDate_) {
        endPomodoro();
        return;
    }
    pomodoroEndDate_ = AppContext::current().clock().now().addingTimeInterval(defaultPomodoroMinutes * 60);
    const std::weak_ptr<AppDelegate> weakSelf = weak_from_this();
    pomodoroTimer_ = Timer::scheduledTimer(1.0, true, [weakSelf](Timer&) {
        if (auto self = weakSelf.lock()) self->updatePomodoroCountdown();
    });
    updatePomodoroCountdown();
}

void AppDelegate::startCustomPomodoro() {}

void AppDelegate::updatePomodoroCountdown() {
    std::optional<std::string> remaining;
    if (pomodoroEndDate_) {
        remaining = exactCountdownText(*pomodoroEndDate_, AppContext::current().clock().now());
        if (!remaining) endPomodoro();
    }
    if (!pomodoroCountdownMenuItem_) return;
    pomodoroCountdownMenuItem_->setTitle(remaining ? L("关闭这个番茄闹钟") + " · " + *remaining
                                                   : L("开启一个番茄闹钟"));
}

void AppDelegate::endPomodoro() {
    if (pomodoroTimer_) pomodoroTimer_->invalidate();
    pomodoroTimer_.reset();
    pomodoroEndDate_.reset();
    if (pomodoroCountdownMenuItem_) pomodoroCountdownMenuItem_->setTitle(L("开启一个番茄闹钟"));
}

void AppDelegate::scheduleShutdownFromMenu(const MenuItem& /*sender*/) {}

void AppDelegate::scheduleCustomShutdownFromMenu() {}

void AppDelegate::cancelScheduledShutdownFromMenu() {}

}  // namespace tallowmere
