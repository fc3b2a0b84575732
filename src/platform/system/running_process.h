#pragma once

#include <sys/types.h>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "platform/system/process_result.h"

namespace tallowmere::platform {

class ChildProcess;
class MainQueue;

// A command started with ProcessRunner::start. Its termination handler runs
// on the main queue once the command has ended and its output is collected.
//
// Dropping the last reference to a command still running kills it (SIGKILL)
// and waits for it: no child outlives its owner. Keep it no longer than the
// AppContext it was started in.
class RunningProcess {
    struct Token {};  // only ProcessRunner makes these

public:
    using TerminationHandler = std::function<void(const ProcessResult&)>;

    ~RunningProcess();
    RunningProcess(const RunningProcess&) = delete;
    RunningProcess& operator=(const RunningProcess&) = delete;

    // The child's process id; 0 for a command run inside the program.
    pid_t processIdentifier() const { return pid_; }
    bool isRunning() const;

    // Asks the command to end (SIGTERM to it and its process group). Once it
    // has ended this does nothing, so it never reaches a process that took
    // over the same id.
    void terminate();

    // Blocks until the command has ended and its termination handler is on
    // the main queue (it runs on a later turn of that queue, not here).
    void waitUntilExit();

    // A command run inside the program: already finished.
    RunningProcess(Token, MainQueue& mainQueue, ProcessResult result,
                   TerminationHandler onTermination);
    // A child, watched on a thread of its own until it ends.
    RunningProcess(Token, MainQueue& mainQueue, std::unique_ptr<ChildProcess> child,
                   std::string input, std::optional<double> timeout,
                   TerminationHandler onTermination);

private:
    friend class ProcessRunner;

    void finish(MainQueue& mainQueue, ProcessResult result, TerminationHandler onTermination);

    pid_t pid_ = 0;
    std::unique_ptr<ChildProcess> child_;
    mutable std::mutex mutex_;
    std::condition_variable ended_;
    bool running_ = true;
    std::thread watcher_;
};

}  // namespace tallowmere::platform
