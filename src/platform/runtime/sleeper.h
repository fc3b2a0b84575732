#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace tallowmere::platform {

// Blocking pauses for work that must wait on hardware (a display bus wants
// its few milliseconds between packets). Only background queues pause.
//
// In the program a pause really sleeps the calling thread. In a
// deterministic context (tests) it returns at once and is recorded, so a
// test sees every pause in order without waiting for any. One per AppContext.
class Sleeper {
public:
    static Sleeper& shared();
    static std::shared_ptr<Sleeper> makeShared();

    explicit Sleeper(bool sleepsForReal) : sleepsForReal_(sleepsForReal) {}
    Sleeper(const Sleeper&) = delete;
    Sleeper& operator=(const Sleeper&) = delete;

    void pause(std::chrono::microseconds duration);

    // The pauses taken so far when recording (none when sleeping for real).
    std::vector<std::chrono::microseconds> recorded() const;
    // Runs at every pause, on the pausing thread: lets a test log pauses in
    // order with other traffic.
    void setOnPause(std::function<void(std::chrono::microseconds)> onPause);

private:
    const bool sleepsForReal_;
    mutable std::mutex mutex_;
    std::vector<std::chrono::microseconds> recorded_;
    std::function<void(std::chrono::microseconds)> onPause_;
};

}  // namespace tallowmere::platform
