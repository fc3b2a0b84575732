#pragma once

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/system/apple_event_descriptor.h"
#include "platform/system/command_call.h"

namespace tallowmere::platform {

// The scripts this system can run, for the osascript stand-in and for
// scripts run inside the program (AppleScript). Nothing here interprets
// AppleScript: each handler recognises the scripts of one kind it knows and
// does their job on this system (a privileged shell script, a question to
// the simulated Finder ...); a script no handler knows is refused.
//
// Two kinds of handler: a command handler writes what osascript prints; an
// evaluator answers with a result descriptor or an error dictionary. Each
// kind is also offered the other kind's way, so every script runs both
// through osascript and inside the program.
class AppleScriptHandlers {
public:
    // osascript's exit status for a script this handler knows, nothing for
    // one it does not (the next handler is asked).
    using Handler = std::function<std::optional<int>(const std::string& source, CommandCall& call)>;
    // The outcome for a script this evaluator knows, nothing for one it
    // does not.
    using Evaluator = std::function<std::optional<AppleScriptOutcome>(const std::string& source)>;

    static AppleScriptHandlers& shared();

    // Starts with the privileged shell scripts (PrivilegedShellScripts).
    AppleScriptHandlers();
    AppleScriptHandlers(const AppleScriptHandlers&) = delete;
    AppleScriptHandlers& operator=(const AppleScriptHandlers&) = delete;

    // Adds a handler, or replaces the one of the same name.
    void add(std::string name, Handler handler);
    void addEvaluator(std::string name, Evaluator evaluator);
    // As osascript: the status, with the result printed and a line feed on
    // standard output, or "execution error: <message> (<number>)" on
    // standard error and status 1. Thread-safe; handlers run outside the
    // lock and may add others.
    std::optional<int> run(const std::string& source, CommandCall& call) const;
    // Inside the program: a command handler's output (without its last line
    // feed) is the text result; its failure is an error with the number its
    // message ends with ("... (-128)"), else -2700.
    std::optional<AppleScriptOutcome> evaluate(const std::string& source) const;

private:
    struct Entry {
        std::string name;
        Handler handler;
        Evaluator evaluator;
    };
    std::vector<Entry> snapshot() const;
    mutable std::mutex mutex_;
    std::vector<Entry> entries_;
};

namespace AppleScriptCommand {

// osascript -e <line> [-e <line> ...], or osascript - with the script on
// standard input: the lines joined by line feeds (or the input whole) make
// the script, run by the first handler that knows it. A script nobody knows,
// a script file or any other option is refused with status 1 and a message
// on standard error.
int osascript(CommandCall& call);

}  // namespace AppleScriptCommand

}  // namespace tallowmere::platform
