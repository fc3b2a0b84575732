#pragma once

#include "platform/base/date.h"

namespace tallowmere::platform {

// Where time comes from. Wall time (`now`) can jump when the user sets the
// clock; `uptime` is monotonic and is what every delay and timer counts in.
class Clock {
public:
    virtual ~Clock() = default;
    virtual Date now() const = 0;
    virtual double uptime() const = 0;  // seconds, monotonic
};

class RealClock final : public Clock {
public:
    Date now() const override;
    double uptime() const override;
};

// Implemented by whatever runs scheduled work against a virtual clock (the
// main queue), so that advancing the clock runs what falls due, in order.
class VirtualClockScheduler {
public:
    virtual ~VirtualClockScheduler() = default;
    // Uptime of the earliest pending item, if any is pending.
    virtual bool nextDueUptime(double& uptime) const = 0;
    // Runs everything due at the clock's current uptime.
    virtual void runDue() = 0;
};

// Test time: stands still until advanced. Advancing runs each piece of work
// scheduled within the interval at its own moment, so a 1 s repeating timer
// fires exactly three times in `advance(3.0)`.
class VirtualClock final : public Clock {
public:
    // Starts at 2026-12-10T08:30:00Z with an uptime of 1000 s.
    VirtualClock();

    Date now() const override { return now_; }
    double uptime() const override { return uptime_; }

    void advance(double seconds);
    // Sets the wall clock alone, as when the user changes the time.
    void setNow(Date date) { now_ = date; }

    void setScheduler(VirtualClockScheduler* scheduler) { scheduler_ = scheduler; }

private:
    void moveTo(double uptime);

    Date now_;
    double uptime_ = 1000.0;
    VirtualClockScheduler* scheduler_ = nullptr;
};

}  // namespace tallowmere::platform
