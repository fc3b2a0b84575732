#include "platform/system/apple_script.h"

#include "platform/system/apple_script_command.h"

namespace tallowmere::platform {

std::optional<AppleScript> AppleScript::make(std::string source) {
    if (source.find_first_not_of(" \t\r\n") == std::string::npos) return std::nullopt;
    return AppleScript(std::move(source));
}

AppleScriptOutcome AppleScript::execute() const {
    if (auto outcome = AppleScriptHandlers::shared().evaluate(source_)) return *outcome;
    return {std::nullopt, AppleScriptError{-1708, "This script isn\u2019t one this system can run."}};
}

}  // namespace tallowmere::platform
