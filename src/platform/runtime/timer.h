#pragma once

#include <functional>
#include <memory>

#include "platform/base/date.h"
#include "platform/runtime/work_item.h"

namespace tallowmere::platform {

class MainQueue;

// A timer on the main queue. Like a timer added to the main run loop, a
// scheduled timer is kept alive by the queue until it is invalidated (or, for
// a one-shot timer, until it fires); the caller's pointer is only a handle.
// A repeating timer fires at its first fire time plus whole intervals; fire
// times that were missed (the process was busy) are skipped, not bunched.
class Timer : public std::enable_shared_from_this<Timer> {
public:
    using Block = std::function<void(Timer&)>;

    // On the current AppContext's main queue.
    static std::shared_ptr<Timer> scheduledTimer(double interval, bool repeats, Block block);
    // One-shot, at a wall-clock date (a date in the past fires on the next turn).
    static std::shared_ptr<Timer> scheduledTimer(Date fireDate, Block block);
    static std::shared_ptr<Timer> scheduledTimer(MainQueue& queue, double interval, bool repeats,
                                                 Block block);

    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    // Stops the timer for good; the block is released at once.
    void invalidate();
    bool isValid() const { return valid_; }
    // Runs the block now; a one-shot timer then becomes invalid. A repeating
    // timer keeps its schedule.
    void fire();

    double timeInterval() const { return interval_; }
    bool repeats() const { return repeats_; }
    // Uptime of the next scheduled fire.
    double nextFireUptime() const { return nextFire_; }

    struct Private;  // construction goes through scheduledTimer
    Timer(Private, MainQueue& queue, double interval, bool repeats, Block block);

private:
    void scheduleAt(double uptime);
    void tick();

    MainQueue& queue_;
    double interval_;
    bool repeats_;
    Block block_;
    bool valid_ = true;
    double nextFire_ = 0;
    // Weak: the queue holds the item, and the item holds this timer; a strong
    // reference here would keep both alive after the queue is gone.
    std::weak_ptr<WorkItem> pending_;
};

}  // namespace tallowmere::platform
