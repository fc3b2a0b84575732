#pragma once

#include <csignal>
#include <functional>
#include <memory>
#include <thread>

#include "platform/system/unique_fd.h"
#include "platform/base/result.h"

namespace tallowmere {

namespace platform {
class MainQueue;
}

// Turns SIGTERM and SIGINT into a request to terminate, run on the main
// queue: the signal handler itself only writes the signal's number to a
// pipe, and a thread of this object posts `onSignal` to the queue, where the
// program's stop sequence can run as it does for a quit from the menu.
//
// One at a time per process; the previous handlers come back when it goes.
class TerminationSignals {
public:
    using Handler = std::function<void(int signal)>;

    static platform::Result<std::unique_ptr<TerminationSignals>> install(platform::MainQueue& queue,
                                                                         Handler onSignal);
    ~TerminationSignals();

    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

private:
    TerminationSignals(platform::UniqueFd readEnd, platform::UniqueFd writeEnd, platform::MainQueue& queue, Handler onSignal);
    void forward();

    platform::UniqueFd readEnd_;
    platform::UniqueFd writeEnd_;
    platform::MainQueue& queue_;
    Handler onSignal_;
    struct sigaction previousTerm_ {};
    struct sigaction previousInt_ {};
    std::thread thread_;
};

}  // namespace tallowmere
