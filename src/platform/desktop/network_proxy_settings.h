#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/base/property_value.h"

namespace tallowmere::platform {

// The simulated Mac's system proxy settings: one dictionary with the keys
// the network settings write ("HTTPEnable", "HTTPProxy", "HTTPPort", the
// same for "HTTPS" and "SOCKS"). A scene or a test sets them; until then
// they come from this machine's proxy variables (`http_proxy`,
// `https_proxy`, `all_proxy`, read afresh each time), so the program sees
// the proxy a person really uses. One per desktop.
class NetworkProxySettings {
public:
    using EnvironmentReader = std::function<std::optional<std::string>(const char* name)>;

    NetworkProxySettings();
    NetworkProxySettings(const NetworkProxySettings&) = delete;
    NetworkProxySettings& operator=(const NetworkProxySettings&) = delete;

    // The settings as the system hands them out; none when there are none.
    std::optional<PropertyValue> copyProxies() const;
    // Replaces the settings (none: no proxy settings at all).
    void setProxies(std::optional<PropertyValue> proxies);
    // Back to the environment's variables.
    void useEnvironment() { set_.reset(); }
    // Where the variables are read; tests give their own.
    void setEnvironmentReader(EnvironmentReader reader) { environment_ = std::move(reader); }

    // The dictionary the three variables stand for: http_proxy as HTTP,
    // https_proxy as HTTPS, all_proxy as SOCKS; a variable that is not a
    // URL with a host and a port is left out.
    static PropertyValue fromEnvironment(const EnvironmentReader& environment);

private:
    std::optional<std::optional<PropertyValue>> set_;
    EnvironmentReader environment_;
};

}  // namespace tallowmere::platform
