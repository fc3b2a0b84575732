#pragma once

#include <sys/types.h>

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/result.h"
#include "platform/system/process_request.h"
#include "platform/system/process_result.h"

namespace tallowmere::platform {

// One program started with posix_spawn (no shell), in its own process group,
// with standard input and output on pipes or /dev/null. The child is reaped
// exactly once, by `communicate`; signals are only ever sent before that, so
// they can never reach a process that later took over the same id.
class ChildProcess {
public:
    // Starts `program` with `argv` (argv[0] included). A program that cannot
    // be started is an error at once, never a child that exits with 127.
    static Result<std::unique_ptr<ChildProcess>> spawn(const std::string& program,
                                                       const std::vector<std::string>& argv,
                                                       ProcessOutput output, bool hasInput);

    // Kills and reaps a child still running, so none outlives its owner.
    ~ChildProcess();

    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }

    // Feeds `input`, collects the output while the child runs (a child that
    // writes more than a pipe holds never stalls) and reaps it. When
    // `timeout` seconds pass first, the child's group gets SIGTERM, then
    // SIGKILL two seconds later, and the result says timedOut. Output is
    // read to its end; a process the child left running that keeps the pipes
    // open is waited for only until the timeout. Call once.
    ProcessResult communicate(std::string_view input, std::optional<double> timeout);

    // SIGTERM to the child and its group; nothing once it has been reaped.
    // Safe from any thread.
    void terminate();
    // SIGKILL, the same way: for an owner that cannot wait for a clean end.
    void kill();

private:
    ChildProcess(pid_t pid, int pidfd, int input, int output, int error, ProcessOutput mode);

    // Sends `signal` unless the child has been reaped; true if sent.
    bool signalLocked(int signal);
    // Reaps the child if it has ended; true once reaped.
    bool reapIfEnded(bool wait);

    pid_t pid_;
    int pidfd_;  // -1 where the kernel offers no pidfd; then exit is polled
    int input_;
    int output_;
    int error_;
    ProcessOutput mode_;

    mutable std::mutex mutex_;
    bool reaped_ = false;
    int waitStatus_ = 0;
};

}  // namespace tallowmere::platform
