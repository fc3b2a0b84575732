#include "platform/desktop/system_settings.h"

namespace tallowmere::platform {

SystemSettings::SystemSettings() {
    domains_[{true, screenSaverDomain}][screenSaverIdleTimeKey] = PropertyValue(300);
}

SystemSettings::DisplaySleep SystemSettings::displaySleep() const {
    std::lock_guard lock(mutex_);
    return displaySleep_;
}

void SystemSettings::setDisplaySleep(DisplaySleep value) {
    std::lock_guard lock(mutex_);
    displaySleep_ = value;
}

SystemSettings::PasswordDelay SystemSettings::passwordDelay() const {
    std::lock_guard lock(mutex_);
    return passwordDelay_;
}

void SystemSettings::setPasswordDelay(PasswordDelay value) {
    std::lock_guard lock(mutex_);
    passwordDelay_ = value;
}

std::optional<PropertyValue> SystemSettings::read(bool currentHost, const std::string& domain,
                                                  const std::string& key) const {
    std::lock_guard lock(mutex_);
    const auto found = domains_.find({currentHost, domain});
    if (found == domains_.end()) return std::nullopt;
    const auto value = found->second.find(key);
    if (value == found->second.end()) return std::nullopt;
    return value->second;
}

void SystemSettings::write(bool currentHost, const std::string& domain, const std::string& key,
                           PropertyValue value) {
    std::lock_guard lock(mutex_);
    domains_[{currentHost, domain}][key] = std::move(value);
}

bool SystemSettings::remove(bool currentHost, const std::string& domain, const std::optional<std::string>& key) {
    std::lock_guard lock(mutex_);
    const auto found = domains_.find({currentHost, domain});
    if (found == domains_.end()) return false;
    if (!key) {
        domains_.erase(found);
        return true;
    }
    return found->second.erase(*key) > 0;
}

}  // namespace tallowmere::platform
