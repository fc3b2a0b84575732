#pragma once

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/system/command_call.h"

namespace tallowmere::platform {

// The scripts the osascript stand-in can run. Nothing here interprets
// AppleScript: each handler recognises the scripts of one kind it knows and
// does their job on this system (a privileged shell script, a question to
// the simulated Finder ...); a script no handler knows is refused.
class AppleScriptHandlers {
public:
    // osascript's exit status for a script this handler knows, nothing for
    // one it does not (the next handler is asked).
    using Handler = std::function<std::optional<int>(const std::string& source, CommandCall& call)>;

    static AppleScriptHandlers& shared();

    // Starts with the privileged shell scripts (PrivilegedShellScripts).
    AppleScriptHandlers();
    AppleScriptHandlers(const AppleScriptHandlers&) = delete;
    AppleScriptHandlers& operator=(const AppleScriptHandlers&) = delete;

    // Adds a handler, or replaces the one of the same name.
    void add(std::string name, Handler handler);
    // Thread-safe; handlers run outside the lock and may add others.
    std::optional<int> run(const std::string& source, CommandCall& call) const;

private:
    struct Entry {
        std::string name;
        Handler handler;
    };
    mutable std::mutex mutex_;
    std::vector<Entry> entries_;
};

namespace AppleScriptCommand {

// osascript -e <line> [-e <line> ...]: the lines joined by line feeds make
// the script, run by the first handler that knows it. A script nobody knows,
// a script file or any other option is refused with status 1 and a message
// on standard error.
int osascript(CommandCall& call);

}  // namespace AppleScriptCommand

}  // namespace tallowmere::platform
