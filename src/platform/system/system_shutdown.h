#pragma once

#include <mutex>
#include <optional>
#include <string>

#include "platform/system/command_call.h"

namespace tallowmere::platform {

// The simulated Mac's power-off, reached only through osascript's
// `do shell script "/sbin/shutdown -h now" with administrator privileges`.
// It never acts on this machine: once the person at the simulated desktop
// allows it (AdministratorPrompt) the request is recorded and reported as
// done (status 0); refused, it is "User canceled. (-128)" and status 1.
class SystemShutdown {
public:
    static constexpr const char* command = "/sbin/shutdown -h now";
    // Posted on the main queue, on the context's notification centre, for
    // each shutdown the person allowed: what they would see is the Mac
    // going off (the desktop trace says so).
    static constexpr const char* didShutDownNotification = "SimulatedMacDidShutDown";

    static SystemShutdown& shared();

    SystemShutdown() = default;
    SystemShutdown(const SystemShutdown&) = delete;
    SystemShutdown& operator=(const SystemShutdown&) = delete;

    // The AppleScript handler (see AppleScriptHandlers): only the exact
    // command; anything else is not this handler's (nothing).
    std::optional<int> run(const std::string& source, CommandCall& call);

    int requestCount() const;

private:
    mutable std::mutex mutex_;
    int requests_ = 0;
};

}  // namespace tallowmere::platform
