#pragma once

#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system/command_call.h"

namespace tallowmere::platform {

// The shell's single-quoted word for `text`, each ' written as '\''.
std::string shellQuoted(std::string_view text);

// AppleScript's `do shell script "…" with administrator privileges` as this
// system runs it. Only accepted scripts run, each after the person at the
// simulated desktop allowed it (AdministratorPrompt), with /bin/sh, and
// mapped so that they act on the simulated Mac instead of this machine:
// "/private/etc" is the folder of that name under Paths::systemRoot(),
// /usr/sbin/chown acts only when this process runs as root, and
// /usr/bin/dscacheutil and /usr/bin/killall are whatever programs the
// CommandTable names for them (stand-ins that succeed; a test can put a
// failing program in their place).
//
// Outcomes, as osascript reports them: the script's standard output and
// status 0; a refused prompt is status 1 with "User canceled. (-128)" on
// standard error; a failed script is status 1 with its standard error and
// status. A script that is not accepted is not this handler's (nothing).
class PrivilegedShellScripts {
public:
    static PrivilegedShellScripts& shared();

    PrivilegedShellScripts() = default;
    PrivilegedShellScripts(const PrivilegedShellScripts&) = delete;
    PrivilegedShellScripts& operator=(const PrivilegedShellScripts&) = delete;

    // Accepts the scripts that equal `scriptTemplate` once each
    // `stagedFileSlot` is replaced by one and the same single-quoted shell
    // word: the path of a regular file in the user's temporary folder (the
    // file the script installs). A template without the slot is accepted
    // as it stands.
    void accept(std::string scriptTemplate, std::string stagedFileSlot);

    // The AppleScript handler (see AppleScriptHandlers).
    std::optional<int> run(const std::string& source, CommandCall& call) const;

    // The shell script of `do shell script "<escaped>" with administrator
    // privileges`, its \\ and \" un-escaped; nothing for any other source.
    static std::optional<std::string> shellScriptOf(std::string_view source);

private:
    struct Accepted {
        std::vector<std::string> pieces;  // the template split at the slot
    };
    struct Match {
        std::vector<std::string> pieces;
        std::string quotedStagedFile;
    };

    std::optional<Match> match(const std::string& script) const;

    mutable std::mutex mutex_;
    std::vector<Accepted> accepted_;
};

}  // namespace tallowmere::platform
