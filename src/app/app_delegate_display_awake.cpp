// Keep display awake: a power activity held for a chosen time or without
// end, resumed at the next start from its three preference keys.
#include "app/app_delegate.h"
#include "platform/desktop/desktop.h"
#include "platform/runtime/app_context.h"
#include "platform/runtime/timer.h"
#include "platform/system/user_defaults.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/menu_item.h"

namespace tallowmere {

using namespace platform;

namespace {

constexpr std::string_view displayAwakeReason = "塔洛梅百宝箱 保持亮屏";

}  // namespace

void AppDelegate::keepDisplayAwakeFromMenu(const MenuItem& sender) {
    const int minutes = sender.tag();
    if (minutes < 1) return;
    displayAwakeSelectedMinutes_ = minutes;
    beginDisplayAwake(AppContext::current().clock().now().addingTimeInterval(minutes * 60.0));
}

void AppDelegate::keepDisplayAwakeAlwaysFromMenu() {
    displayAwakeSelectedMinutes_.reset();
    beginDisplayAwake(std::nullopt);
}

void AppDelegate::cancelKeepDisplayAwakeFromMenu() { cancelDisplayAwakeActivity(); }

void AppDelegate::beginDisplayAwake(std::optional<Date> end) {
    // The caller has just chosen the minutes; ending the old period must
    // not forget them.
    const auto selectedMinutes = displayAwakeSelectedMinutes_;
    cancelDisplayAwakeActivity();
    displayAwakeSelectedMinutes_ = selectedMinutes;

    displayAwakeActivity_ = DesktopLink::desktop().power().beginActivity(
        ActivityOption::idleDisplaySleepDisabled | ActivityOption::idleSystemSleepDisabled,
        std::string(displayAwakeReason));
    displayAwakeUntil_ = end;
    auto& defaults = UserDefaults::standard();
    if (end) {
        defaults.set(displayAwakeUntilKey, PropertyValue(end->timeIntervalSince1970()));
        defaults.set(displayAwakeAlwaysKey, PropertyValue(false));
        if (displayAwakeSelectedMinutes_) defaults.set(displayAwakeSelectedMinutesKey, PropertyValue(*displayAwakeSelectedMinutes_));
    } else {
        defaults.set(displayAwakeAlwaysKey, PropertyValue(true));
        defaults.removeObject(displayAwakeUntilKey);
        defaults.removeObject(displayAwakeSelectedMinutesKey);
    }
    updateStatusBarActivityDisplay();

    if (end) {
        const std::weak_ptr<AppDelegate> weakSelf = weak_from_this();
        // Fires at the stored end itself, even when that is under a second away.
        displayAwakeTimer_ = Timer::scheduledTimer(*end, [weakSelf](Timer&) {
            if (auto self = weakSelf.lock()) self->cancelDisplayAwakeActivity();
        });
    }
}

void AppDelegate::cancelDisplayAwakeActivity() {
    if (displayAwakeTimer_) displayAwakeTimer_->invalidate();
    displayAwakeTimer_.reset();
    if (displayAwakeActivity_) DesktopLink::desktop().power().endActivity(displayAwakeActivity_);
    displayAwakeActivity_.reset();
    displayAwakeUntil_.reset();
    displayAwakeSelectedMinutes_.reset();
    auto& defaults = UserDefaults::standard();
    defaults.removeObject(displayAwakeUntilKey);
    defaults.removeObject(displayAwakeAlwaysKey);
    defaults.removeObject(displayAwakeSelectedMinutesKey);
    updateStatusBarActivityDisplay();
}

void AppDelegate::restoreDisplayAwakeActivity() {
    auto& defaults = UserDefaults::standard();
    if (defaults.boolean(displayAwakeAlwaysKey)) {
        displayAwakeSelectedMinutes_.reset();
        beginDisplayAwake(std::nullopt);
        return;
    }
    const double until = defaults.real(displayAwakeUntilKey);
    if (!(until > 0)) return;
    const Date end = Date::fromTimeIntervalSince1970(until);
    if (end > AppContext::current().clock().now()) {
        auto stored = defaults.object(displayAwakeSelectedMinutesKey);
        auto minutes = stored ? stored->asInteger() : std::nullopt;
        displayAwakeSelectedMinutes_ = minutes ? std::optional<int>(static_cast<int>(*minutes)) : std::nullopt;
        beginDisplayAwake(end);
        return;
    }
    defaults.removeObject(displayAwakeUntilKey);
    defaults.removeObject(displayAwakeSelectedMinutesKey);
}

}  // namespace tallowmere
