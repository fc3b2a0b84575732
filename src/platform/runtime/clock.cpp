#include "platform/runtime/clock.h"

#include <chrono>

namespace tallowmere::platform {

Date RealClock::now() const {
    using namespace std::chrono;
    auto since = duration<double>(system_clock::now().time_since_epoch());
    return Date::fromTimeIntervalSince1970(since.count());
}

double RealClock::uptime() const {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

VirtualClock::VirtualClock() : now_(Date::fromTimeIntervalSince1970(1796891400.0)) {}

void VirtualClock::moveTo(double uptime) {
    if (uptime <= uptime_) return;
    now_ = now_.addingTimeInterval(uptime - uptime_);
    uptime_ = uptime;
}

void VirtualClock::advance(double seconds) {
    const double target = uptime_ + (seconds > 0 ? seconds : 0);
    if (scheduler_) scheduler_->runDue();
    double due = 0;
    while (scheduler_ && scheduler_->nextDueUptime(due) && due <= target) {
        moveTo(due);
        scheduler_->runDue();
    }
    moveTo(target);
    if (scheduler_) scheduler_->runDue();
}

}  // namespace tallowmere::platform
