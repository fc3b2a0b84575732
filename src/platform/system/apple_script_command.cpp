#include "platform/system/apple_script_command.h"

#include "platform/runtime/app_context.h"
#include "platform/system/privileged_shell_scripts.h"
#include "platform/system/system_shutdown.h"

namespace tallowmere::platform {

AppleScriptHandlers& AppleScriptHandlers::shared() {
    return AppContext::current().shared<AppleScriptHandlers>();
}

AppleScriptHandlers::AppleScriptHandlers() {
    add("do shell script with administrator privileges",
        [](const std::string& source, CommandCall& call) {
            return PrivilegedShellScripts::shared().run(source, call);
        });
    add("shutdown with administrator privileges",
        [](const std::string& source, CommandCall& call) { return SystemShutdown::shared().run(source, call); });
}

void AppleScriptHandlers::add(std::string name, Handler handler) {
    std::lock_guard lock(mutex_);
    for (auto& entry : entries_) {
        if (entry.name == name) {
            entry = {std::move(name), std::move(handler), {}};
            return;
        }
    }
    entries_.push_back({std::move(name), std::move(handler), {}});
}

void AppleScriptHandlers::addEvaluator(std::string name, Evaluator evaluator) {
    std::lock_guard lock(mutex_);
    for (auto& entry : entries_) {
        if (entry.name == name) {
            entry = {std::move(name), {}, std::move(evaluator)};
            return;
        }
    }
    entries_.push_back({std::move(name), {}, std::move(evaluator)});
}

std::vector<AppleScriptHandlers::Entry> AppleScriptHandlers::snapshot() const {
    std::lock_guard lock(mutex_);
    return entries_;
}

std::optional<int> AppleScriptHandlers::run(const std::string& source, CommandCall& call) const {
    for (const auto& entry : snapshot()) {
        if (entry.handler) {
            if (auto status = entry.handler(source, call)) return status;
            continue;
        }
        auto outcome = entry.evaluator(source);
        if (!outcome) continue;
        if (outcome->error) {
            call.writeError("execution error: " + outcome->error->message + " (" +
                            std::to_string(outcome->error->number) + ")\n");
            return 1;
        }
        if (outcome->result) call.writeOutput(outcome->result->printed() + "\n");
        return 0;
    }
    return std::nullopt;
}

namespace {

// The number at the end of an osascript error message ("... (-128)").
int errorNumberOf(const std::string& message) {
    const auto close = message.rfind(')');
    const auto open = message.rfind('(');
    if (close == std::string::npos || open == std::string::npos || open > close) return -2700;
    try {
        std::size_t used = 0;
        const std::string digits = message.substr(open + 1, close - open - 1);
        const int number = std::stoi(digits, &used);
        return used == digits.size() ? number : -2700;
    } catch (...) {
        return -2700;
    }
}

std::string withoutFinalLineFeed(std::string text) {
    if (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
}

}  // namespace

std::optional<AppleScriptOutcome> AppleScriptHandlers::evaluate(const std::string& source) const {
    static const std::string executable = "/usr/bin/osascript";
    static const std::vector<std::string> noArguments;
    for (const auto& entry : snapshot()) {
        if (entry.evaluator) {
            if (auto outcome = entry.evaluator(source)) return outcome;
            continue;
        }
        std::string output;
        std::string error;
        CommandCall call(executable, noArguments, {}, &output, &error);
        const auto status = entry.handler(source, call);
        if (!status) continue;
        if (*status == 0) return AppleScriptOutcome{AppleEventDescriptor::text(withoutFinalLineFeed(output)), {}};
        error = withoutFinalLineFeed(error);
        return AppleScriptOutcome{{}, AppleScriptError{errorNumberOf(error), error}};
    }
    return std::nullopt;
}

namespace AppleScriptCommand {

int osascript(CommandCall& call) {
    const auto& arguments = call.arguments();
    std::string source;
    if (arguments.size() == 1 && arguments[0] == "-") {
        // The script from standard input, as a caller that pipes it in sends it.
        source = std::string(call.standardInput());
    } else {
        bool hasLine = false;
        for (std::size_t i = 0; i < arguments.size(); ++i) {
            if (arguments[i] != "-e" || i + 1 == arguments.size()) {
                hasLine = false;
                break;
            }
            if (hasLine) source += '\n';
            source += arguments[++i];
            hasLine = true;
        }
        if (!hasLine) {
            call.writeError("osascript: only scripts given with -e or on standard input (-) run on this system\n");
            return 1;
        }
    }
    if (auto status = AppleScriptHandlers::shared().run(source, call)) return *status;
    call.writeError("execution error: This script isn\u2019t one this system can run. (-1708)\n");
    return 1;
}

}  // namespace AppleScriptCommand

}  // namespace tallowmere::platform
