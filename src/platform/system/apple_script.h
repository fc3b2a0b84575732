#pragma once

#include <optional>
#include <string>

#include "platform/system/apple_event_descriptor.h"

namespace tallowmere::platform {

// A script run inside the program, as the platform's script object runs
// one: made from its source, then executed for a result descriptor or an
// error dictionary. What a script means here is up to the handlers the
// osascript stand-in uses too (AppleScriptHandlers); a script no handler
// knows fails with -1708 at execution, as an event nobody handles does.
class AppleScript {
public:
    // None for a source that cannot be a script (empty).
    static std::optional<AppleScript> make(std::string source);

    const std::string& source() const { return source_; }
    // Thread-safe; runs on the calling thread.
    AppleScriptOutcome execute() const;

private:
    explicit AppleScript(std::string source) : source_(std::move(source)) {}
    std::string source_;
};

}  // namespace tallowmere::platform
