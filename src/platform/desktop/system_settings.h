#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "platform/base/property_value.h"

namespace tallowmere::platform {

// The simulated Mac's own settings, as System Settings keeps them and its
// command-line tools (pmset, defaults, sysadminctl) read and write them:
// display sleep per power source, the password delay after sleep or the
// screen saver, and the preference domains of the system and of other
// programs (the screen saver's idle time lives in one). Nothing here reaches
// the machine's own settings. Read from background queues too: every access
// takes the lock.
class SystemSettings {
public:
    // Minutes of inactivity before the display sleeps; 0 = never.
    struct DisplaySleep {
        // Absent on a Mac without a battery.
        std::optional<int> battery = 2;
        int powerAdapter = 10;
    };
    // How long after sleep or the screen saver a password is asked for:
    // absent = never, 0 = at once, else seconds.
    using PasswordDelay = std::optional<int>;

    static constexpr const char* screenSaverDomain = "com.apple.screensaver";
    static constexpr const char* screenSaverIdleTimeKey = "idleTime";
    // The domain every program reads after its own ("-globalDomain").
    static constexpr const char* globalDomain = "NSGlobalDomain";

    // A Mac as it comes: a battery, the screen saver after 5 minutes (set
    // for this host), a password at once.
    SystemSettings();
    SystemSettings(const SystemSettings&) = delete;
    SystemSettings& operator=(const SystemSettings&) = delete;

    DisplaySleep displaySleep() const;
    void setDisplaySleep(DisplaySleep value);
    PasswordDelay passwordDelay() const;
    void setPasswordDelay(PasswordDelay value);

    // One value of a domain; `currentHost` picks the domains kept for this
    // machine only.
    std::optional<PropertyValue> read(bool currentHost, const std::string& domain, const std::string& key) const;
    void write(bool currentHost, const std::string& domain, const std::string& key, PropertyValue value);
    // True when there was something to remove; no key removes the domain.
    bool remove(bool currentHost, const std::string& domain, const std::optional<std::string>& key);

private:
    using DomainName = std::pair<bool, std::string>;

    mutable std::mutex mutex_;
    DisplaySleep displaySleep_;
    PasswordDelay passwordDelay_ = 0;
    std::map<DomainName, PropertyValue::Dictionary> domains_;
};

}  // namespace tallowmere::platform
