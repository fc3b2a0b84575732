// Keep display awake across restarts. Holding the display awake needs a
// power activity the platform layer does not offer yet, so for now a
// stored period that is still running is left as it is for the feature to
// resume, and only what has run out is cleared.
#include "app/app_delegate.h"
#include "platform/runtime/app_context.h"
#include "platform/runtime/timer.h"
#include "platform/system/user_defaults.h"

namespace tallowmere {

using namespace platform;

void AppDelegate::restoreDisplayAwakeActivity() {
    auto& defaults = UserDefaults::standard();
    if (defaults.boolean(displayAwakeAlwaysKey)) return;
    const double until = defaults.real(displayAwakeUntilKey);
    if (until <= 0) return;
    if (Date::fromTimeIntervalSince1970(until) > AppContext::current().clock().now()) return;
    defaults.removeObject(displayAwakeUntilKey);
    defaults.removeObject(displayAwakeSelectedMinutesKey);
}

void AppDelegate::cancelDisplayAwakeActivity() {
    if (displayAwakeTimer_) displayAwakeTimer_->invalidate();
    displayAwakeTimer_.reset();
    displayAwakeUntil_.reset();
    displayAwakeSelectedMinutes_.reset();
    auto& defaults = UserDefaults::standard();
    defaults.removeObject(displayAwakeUntilKey);
    defaults.removeObject(displayAwakeAlwaysKey);
    defaults.removeObject(displayAwakeSelectedMinutesKey);
    updateStatusBarActivityDisplay();
}

}  // namespace tallowmere
