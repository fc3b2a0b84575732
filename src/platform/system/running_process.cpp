#include "platform/system/running_process.h"

#include "platform/runtime/main_queue.h"
#include "platform/system/child_process.h"

namespace tallowmere::platform {

RunningProcess::RunningProcess(Token, MainQueue& mainQueue, ProcessResult result,
                               TerminationHandler onTermination) {
    finish(mainQueue, std::move(result), std::move(onTermination));
}

RunningProcess::RunningProcess(Token, MainQueue& mainQueue, std::unique_ptr<ChildProcess> child,
                               std::string input, std::optional<double> timeout,
                               TerminationHandler onTermination)
    : pid_(child->pid()), child_(std::move(child)) {
    watcher_ = std::thread([this, &mainQueue, input = std::move(input), timeout,
                            onTermination = std::move(onTermination)]() mutable {
        ProcessResult result = child_->communicate(input, timeout);
        finish(mainQueue, std::move(result), std::move(onTermination));
    });
}

RunningProcess::~RunningProcess() {
    if (watcher_.joinable()) {
        // Killing ends communicate() promptly; the child is then reaped there.
        if (isRunning()) child_->kill();
        watcher_.join();
    }
}

bool RunningProcess::isRunning() const {
    std::lock_guard lock(mutex_);
    return running_;
}

void RunningProcess::terminate() {
    if (child_) child_->terminate();
}

void RunningProcess::waitUntilExit() {
    std::unique_lock lock(mutex_);
    ended_.wait(lock, [this] { return !running_; });
}

void RunningProcess::finish(MainQueue& mainQueue, ProcessResult result,
                            TerminationHandler onTermination) {
    if (onTermination) {
        mainQueue.async([onTermination = std::move(onTermination), result = std::move(result)] {
            onTermination(result);
        });
    }
    {
        std::lock_guard lock(mutex_);
        running_ = false;
    }
    ended_.notify_all();
}

}  // namespace tallowmere::platform
