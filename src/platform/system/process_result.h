#pragma once

#include <string>

namespace tallowmere::platform {

enum class ProcessTermination {
    exited,          // it ended by itself; `status` is its exit status
    uncaughtSignal,  // a signal ended it; `status` is the signal's number
    timedOut,        // the request's timeout ended it; `status` as above
};

// How a command that was started ended, with what it wrote.
struct ProcessResult {
    ProcessTermination termination = ProcessTermination::exited;
    int status = 0;
    std::string standardOutput;  // with ProcessOutput::merged, both streams
    std::string standardError;

    bool succeeded() const { return termination == ProcessTermination::exited && status == 0; }
};

}  // namespace tallowmere::platform
