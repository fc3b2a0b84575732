#include "platform/runtime/timer.h"

#include <cmath>
#include <utility>

#include "platform/runtime/app_context.h"
#include "platform/runtime/main_queue.h"

namespace tallowmere::platform {

struct Timer::Private {};

namespace {
// A repeating timer with no interval would spin the queue; the Mac clamps it.
constexpr double minimumRepeatInterval = 0.0001;
}  // namespace

Timer::Timer(Private, MainQueue& queue, double interval, bool repeats, Block block)
    : queue_(queue),
      interval_(repeats && interval < minimumRepeatInterval ? minimumRepeatInterval
                                                            : std::max(interval, 0.0)),
      repeats_(repeats),
      block_(std::move(block)) {}

std::shared_ptr<Timer> Timer::scheduledTimer(MainQueue& queue, double interval, bool repeats,
                                             Block block) {
    auto timer = std::make_shared<Timer>(Private{}, queue, interval, repeats, std::move(block));
    timer->scheduleAt(AppContext::current().clock().uptime() + timer->interval_);
    return timer;
}

std::shared_ptr<Timer> Timer::scheduledTimer(double interval, bool repeats, Block block) {
    return scheduledTimer(AppContext::current().mainQueue(), interval, repeats, std::move(block));
}

std::shared_ptr<Timer> Timer::scheduledTimer(Date fireDate, Block block) {
    auto& context = AppContext::current();
    const double delay = std::max(0.0, fireDate.timeIntervalSince(context.clock().now()));
    return scheduledTimer(context.mainQueue(), delay, false, std::move(block));
}

void Timer::scheduleAt(double uptime) {
    nextFire_ = uptime;
    const double delay = uptime - AppContext::current().clock().uptime();
    // The queue's strong reference is what keeps a scheduled timer alive.
    pending_ = queue_.asyncAfter(delay, [self = shared_from_this()] { self->tick(); });
}

void Timer::tick() {
    if (!valid_) return;
    if (repeats_) {
        const double now = AppContext::current().clock().uptime();
        double next = nextFire_ + interval_;
        if (next <= now) next += std::ceil((now - next) / interval_ + 1e-9) * interval_;
        scheduleAt(next);
    }
    fire();
}

void Timer::fire() {
    if (!valid_) return;
    auto keepAlive = shared_from_this();
    Block block = block_;  // the block may invalidate this timer
    if (!repeats_) invalidate();
    if (block) block(*this);
}

void Timer::invalidate() {
    valid_ = false;
    block_ = nullptr;
    if (auto pending = std::exchange(pending_, {}).lock()) pending->cancel();
}

}  // namespace tallowmere::platform
