#pragma once

#include <functional>
#include <mutex>
#include <string>

namespace tallowmere::platform {

// Who grants administrator rights when a command asks for them. The UI
// layer installs the person at the simulated desktop (a password prompt);
// with nobody installed, or nobody there to answer, the answer is no, so
// nothing privileged happens without a person's consent.
class AdministratorPrompt {
public:
    // True when the person allowed it; `requester` names what asks.
    using Ask = std::function<bool(const std::string& requester)>;

    static AdministratorPrompt& shared();

    AdministratorPrompt() = default;
    AdministratorPrompt(const AdministratorPrompt&) = delete;
    AdministratorPrompt& operator=(const AdministratorPrompt&) = delete;

    void setAsk(Ask ask);
    bool requestAuthorization(const std::string& requester) const;

private:
    mutable std::mutex mutex_;
    Ask ask_;
};

}  // namespace tallowmere::platform
