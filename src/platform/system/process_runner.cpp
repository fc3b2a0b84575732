#include "platform/system/process_runner.h"

#include <chrono>
#include <cmath>
#include <csignal>

#include "platform/runtime/app_context.h"
#include "platform/runtime/sleeper.h"
#include "platform/system/child_process.h"
#include "platform/system/command_table.h"

namespace tallowmere::platform {

namespace {

bool hasNul(const std::string& text) {
    return text.find('\0') != std::string::npos;
}

Result<void> check(const ProcessRequest& request) {
    if (request.executable.empty() || request.executable[0] != '/' || hasNul(request.executable)) {
        return Error{
            ErrorCode::invalidArgument,
            "A command is started by its full path, not \u201C" + request.executable + "\u201D.",
            0};
    }
    for (const std::string& argument : request.arguments) {
        if (hasNul(argument)) {
            return Error{ErrorCode::invalidArgument,
                         "An argument of " + request.executable + " holds a NUL byte.", 0};
        }
    }
    if (request.timeout && !(std::isfinite(*request.timeout) && *request.timeout > 0)) {
        return Error{ErrorCode::invalidArgument, "A timeout is a positive number of seconds.", 0};
    }
    return {};
}

Error unavailable(const std::string& executable) {
    return Error{ErrorCode::notFound,
                 "The command \u201C" + executable + "\u201D isn\u2019t available on this system.",
                 0};
}

ProcessResult runInProcess(const ProcessRequest& request, const CommandHandler& handler) {
    ProcessResult result;
    std::string* output = nullptr;
    std::string* error = nullptr;
    switch (request.output) {
        case ProcessOutput::separate:
            output = &result.standardOutput;
            error = &result.standardError;
            break;
        case ProcessOutput::merged:
            output = error = &result.standardOutput;
            break;
        case ProcessOutput::discarded:
            break;
    }
    const std::string_view input =
        request.standardInput ? std::string_view(*request.standardInput) : std::string_view();
    CommandCall call(request.executable, request.arguments, input, output, error, request.timeout);
    // As a real exit status: only the low eight bits reach the parent.
    result.status = handler(call) & 0xFF;
    if (call.isHung()) {
        // It waits until the timeout ends it; without one nothing would, and
        // a command run inside the program cannot wait for ever: it is killed.
        if (request.timeout) {
            Sleeper::shared().pause(std::chrono::duration_cast<std::chrono::microseconds>(
                std::chrono::duration<double>(*request.timeout)));
            result.termination = ProcessTermination::timedOut;
            result.status = SIGTERM;
        } else {
            result.termination = ProcessTermination::uncaughtSignal;
            result.status = SIGKILL;
        }
    }
    return result;
}

struct Launch {
    CommandTable::Resolution resolution;
    std::unique_ptr<ChildProcess> child;  // for a program
};

Result<Launch> launch(const ProcessRequest& request) {
    if (auto valid = check(request); !valid) return valid.error();
    Launch launch{CommandTable::shared().resolve(request.executable), nullptr};
    switch (launch.resolution.kind) {
        case CommandTable::Resolution::Kind::unavailable:
            return unavailable(request.executable);
        case CommandTable::Resolution::Kind::inProcess:
            return launch;
        case CommandTable::Resolution::Kind::program:
            break;
    }
    std::vector<std::string> argv;
    argv.reserve(request.arguments.size() + 1);
    argv.push_back(request.executable);
    argv.insert(argv.end(), request.arguments.begin(), request.arguments.end());
    auto child = ChildProcess::spawn(launch.resolution.program.string(), argv, request.output,
                                     request.standardInput.has_value());
    if (!child) return child.error();
    launch.child = std::move(*child);
    return launch;
}

}  // namespace

Result<ProcessResult> ProcessRunner::run(const ProcessRequest& request) {
    auto launched = launch(request);
    if (!launched) return launched.error();
    if (!launched->child) return runInProcess(request, launched->resolution.handler);
    return launched->child->communicate(request.standardInput.value_or(std::string()),
                                        request.timeout);
}

Result<std::shared_ptr<RunningProcess>> ProcessRunner::start(
    ProcessRequest request, RunningProcess::TerminationHandler onTermination) {
    auto launched = launch(request);
    if (!launched) return launched.error();
    MainQueue& mainQueue = AppContext::current().mainQueue();
    if (!launched->child) {
        return std::make_shared<RunningProcess>(RunningProcess::Token{}, mainQueue,
                                                runInProcess(request, launched->resolution.handler),
                                                std::move(onTermination));
    }
    return std::make_shared<RunningProcess>(
        RunningProcess::Token{}, mainQueue, std::move(launched->child),
        request.standardInput.value_or(std::string()), request.timeout, std::move(onTermination));
}

}  // namespace tallowmere::platform
