#include "platform/desktop/screen_lock_service.h"

#include "platform/runtime/app_context.h"

namespace tallowmere::platform {

ScreenLockService& ScreenLockService::shared() { return AppContext::current().shared<ScreenLockService>(); }

std::optional<ScreenLockService::LockFunction> ScreenLockService::lockFunction() {
    if (!isAvailable) return std::nullopt;
    return LockFunction([this]() -> std::int32_t {
        const std::int32_t status = nextStatus;
        if (status == 0) {
            locked_ = true;
            ++lockCount_;
        }
        return status;
    });
}

}  // namespace tallowmere::platform
