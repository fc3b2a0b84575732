#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/system/command_call.h"

namespace tallowmere::platform {

// What each command path of a Mac means on this system. Features start
// commands by their Mac path; this table answers, in order:
//
//   1. a test's override: an in-process handler, or a program run in place
//      of the command;
//   2. a built-in stand-in: code that does the command's job for real here
//      and keeps its contract (arguments, output format, exit status);
//   3. a program of this system that has the same contract at the same path
//      (/bin/sh, /bin/cat, /usr/bin/env ...);
//   4. nothing: the command cannot be launched, and the feature takes its own
//      failure path.
//
// Anything privileged or destructive (hosts file, shutdown, killall) is never
// in the third group, so it cannot act on the machine by accident. Each
// AppContext has its own table, so overrides end with the test.
class CommandTable {
public:
    struct Resolution {
        enum class Kind { inProcess, program, unavailable };
        Kind kind = Kind::unavailable;
        CommandHandler handler;         // inProcess
        std::filesystem::path program;  // program
    };

    // The built-in stand-ins ("/usr/bin/shasum", "/usr/bin/md5",
    // "/usr/bin/osascript", "/usr/bin/chflags", "/usr/bin/dscacheutil",
    // "/usr/bin/killall", "/usr/sbin/lsof", "/usr/bin/nettop") and
    // the programs of this system listed as equivalent.
    CommandTable();
    static CommandTable& shared();

    CommandTable(const CommandTable&) = delete;
    CommandTable& operator=(const CommandTable&) = delete;

    // A layer that models a Mac service installs its command here
    // (for example a screen capture of the simulated desktop).
    void installStandIn(std::string path, CommandHandler handler);
    // A stand-in that is a program of this system, so that shell scripts can
    // run it too.
    void installStandIn(std::string path, std::filesystem::path program);

    // Overrides take precedence over everything else until removed.
    void overrideCommand(std::string path, CommandHandler handler);
    void overrideCommand(std::string path, std::filesystem::path program);
    void removeOverride(std::string_view path);

    // Thread-safe: commands are started from background queues too.
    Resolution resolve(std::string_view path) const;

private:
    mutable std::mutex mutex_;
    std::map<std::string, Resolution, std::less<>> overrides_;
    std::map<std::string, Resolution, std::less<>> standIns_;
};

}  // namespace tallowmere::platform
