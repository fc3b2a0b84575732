#pragma once

#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/base/result.h"
#include "platform/system/command_call.h"

namespace tallowmere::platform {

// What starts programs when the user logs in, as the simulated Mac keeps it:
// the program's own login item (the main-application service of macOS 13
// and later) and the per-user launch agents that `/bin/launchctl` loads on
// every system. Like the system's own records, the state outlives the
// program: it is kept in a file under the simulated system root and read
// again by the next process. Nothing here starts a program or reaches the
// machine's own service manager. One per AppContext.
class LoginItemService {
public:
    // The platform's status values.
    enum class Status { notRegistered = 0, enabled = 1, requiresApproval = 2, notFound = 3 };

    static LoginItemService& shared();

    // Installs the `/bin/launchctl` stand-in in the current command table.
    LoginItemService();

    LoginItemService(const LoginItemService&) = delete;
    LoginItemService& operator=(const LoginItemService&) = delete;

    // --- The system's generation ------------------------------------------
    // False on systems before macOS 13, which have launch agents only.
    bool hasMainAppService() const;
    void setHasMainAppService(bool available);

    // --- The program's login item -------------------------------------------
    Status status() const;
    // Enabled, or requiresApproval while the person keeps it switched off in
    // System Settings.
    Result<void> registerMainApp();
    Result<void> unregisterMainApp();
    int registrationCount() const;
    int unregistrationCount() const;

    // What the person does in System Settings: switching the program's
    // background item off makes an enabled item and later registrations wait
    // for approval; switching it on approves a waiting item.
    void setApprovalRequired(bool required);
    // Failures the service reports from now on (none: it works).
    void setRegistrationFailure(std::optional<Error> failure);
    void setUnregistrationFailure(std::optional<Error> failure);

    // --- Launch agents ----------------------------------------------------------
    // The property-list path of the loaded agent with this label.
    std::optional<std::filesystem::path> loadedAgent(std::string_view label) const;

    // `launchctl bootstrap|bootout gui/<uid> <plist>`, with launchctl's
    // messages ("Bootstrap failed: 5: Input/output error") and exit statuses.
    int launchctl(CommandCall& call);

    // The file the state is kept in between runs.
    static std::filesystem::path stateFile();
    // The state stored in `bytes` (a property list); what cannot be read
    // is left as a fresh service has it.
    void restoreState(std::span<const std::uint8_t> bytes);

private:
    // Writes the state; called with the mutex held, after every change.
    void saveState() const;

    mutable std::mutex mutex_;  // launchctl may run on a background queue
    bool hasMainAppService_ = true;
    Status status_ = Status::notRegistered;
    bool approvalRequired_ = false;
    std::optional<Error> registrationFailure_;
    std::optional<Error> unregistrationFailure_;
    int registrationCount_ = 0;
    int unregistrationCount_ = 0;
    std::map<std::string, std::filesystem::path, std::less<>> loadedAgents_;  // by label
};

}  // namespace tallowmere::platform
