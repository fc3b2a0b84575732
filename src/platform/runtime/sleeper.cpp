#include "platform/runtime/sleeper.h"

#include <thread>

#include "platform/runtime/app_context.h"

namespace tallowmere::platform {

Sleeper& Sleeper::shared() { return AppContext::current().shared<Sleeper>(); }

std::shared_ptr<Sleeper> Sleeper::makeShared() {
    return std::make_shared<Sleeper>(!AppContext::current().isDeterministic());
}

void Sleeper::pause(std::chrono::microseconds duration) {
    std::function<void(std::chrono::microseconds)> onPause;
    {
        std::lock_guard lock(mutex_);
        if (!sleepsForReal_) recorded_.push_back(duration);
        onPause = onPause_;
    }
    if (onPause) onPause(duration);
    if (sleepsForReal_) std::this_thread::sleep_for(duration);
}

std::vector<std::chrono::microseconds> Sleeper::recorded() const {
    std::lock_guard lock(mutex_);
    return recorded_;
}

void Sleeper::setOnPause(std::function<void(std::chrono::microseconds)> onPause) {
    std::lock_guard lock(mutex_);
    onPause_ = std::move(onPause);
}

}  // namespace tallowmere::platform
