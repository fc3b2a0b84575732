#pragma once

#include <memory>

#include "platform/base/result.h"
#include "platform/system/process_request.h"
#include "platform/system/process_result.h"
#include "platform/system/running_process.h"

namespace tallowmere::platform {

// Runs commands by their Mac path, without a shell; the current AppContext's
// CommandTable decides what runs. A command that cannot be launched (nothing
// stands for its path here, or the program is missing) is an Error at once;
// once launched, how it ended is in the ProcessResult, never an Error.
//
// Commands run inside the program (stand-ins, test handlers) run on the
// calling thread and are not subject to a timeout.
class ProcessRunner {
public:
    // Runs the command and waits for it.
    static Result<ProcessResult> run(const ProcessRequest& request);

    // Starts the command and returns at once; `onTermination` runs on the
    // main queue after it has ended.
    static Result<std::shared_ptr<RunningProcess>> start(
        ProcessRequest request, RunningProcess::TerminationHandler onTermination);
};

}  // namespace tallowmere::platform
