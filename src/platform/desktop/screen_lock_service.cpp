#include "platform/desktop/screen_lock_service.h"

#include "platform/runtime/app_context.h"
#include "platform/runtime/notification_center.h"

namespace tallowmere::platform {

ScreenLockService& ScreenLockService::shared() { return AppContext::current().shared<ScreenLockService>(); }

std::optional<ScreenLockService::LockFunction> ScreenLockService::lockFunction() {
    if (!isAvailable) return std::nullopt;
    return LockFunction([this]() -> std::int32_t {
        const std::int32_t status = nextStatus;
        if (status == 0) lock();
        return status;
    });
}

void ScreenLockService::lock() {
    ++lockCount_;
    // Locking a locked screen leaves it as it is.
    if (locked_) return;
    locked_ = true;
    AppContext::current().notificationCenter().post(didLockNotification, this);
}

void ScreenLockService::unlock() {
    if (!locked_) return;
    locked_ = false;
    AppContext::current().notificationCenter().post(didUnlockNotification, this);
}

ScreenRect ScreenLockService::signInFieldFrame(ScreenRect screenFrame) {
    constexpr double width = 220, height = 30;
    return {screenFrame.midX() - width / 2, screenFrame.minY() + screenFrame.height() * 0.3, width, height};
}

}  // namespace tallowmere::platform
