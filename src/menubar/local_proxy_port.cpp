#include "menubar/local_proxy_port.h"

#include <array>
#include <cmath>
#include <string>
#include <string_view>

#include "platform/base/text.h"

namespace tallowmere {

namespace {

struct ProxyKeys {
    std::string_view enable;
    std::string_view host;
    std::string_view port;
};

constexpr std::array proxyKeys{
    ProxyKeys{"HTTPEnable", "HTTPProxy", "HTTPPort"},
    ProxyKeys{"HTTPSEnable", "HTTPSProxy", "HTTPSPort"},
    ProxyKeys{"SOCKSEnable", "SOCKSProxy", "SOCKSPort"},
};

constexpr std::array localHosts{std::string_view("127.0.0.1"), std::string_view("localhost"),
                                std::string_view("::1")};

bool isOn(const platform::PropertyValue* value) {
    if (!value) return false;
    if (const auto flag = value->asBoolean()) return *flag;
    const auto number = value->asNumber();
    return number && *number != 0 && !std::isnan(*number);
}

bool isLocalHost(const platform::PropertyValue* value) {
    const std::string* host = value ? value->asString() : nullptr;
    if (!host) return false;
    std::string lowered = *host;
    for (char& c : lowered) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    for (const auto local : localHosts) {
        if (lowered == local) return true;
    }
    return false;
}

std::optional<int> portNumber(const platform::PropertyValue* value) {
    const auto number = value ? value->asNumber() : std::nullopt;
    // Checked as a double first: a huge or NaN value has no integer value.
    if (!number || !(*number >= 1 && *number < 65536)) return std::nullopt;
    return static_cast<int>(*number);
}

}  // namespace

std::optional<int> localSystemProxyPort(const std::optional<platform::PropertyValue>& proxies) {
    if (!proxies || !proxies->asDictionary()) return std::nullopt;
    for (const auto& keys : proxyKeys) {
        if (!isOn(proxies->find(keys.enable)) || !isLocalHost(proxies->find(keys.host))) continue;
        if (const auto port = portNumber(proxies->find(keys.port))) return port;
    }
    return std::nullopt;
}

}  // namespace tallowmere
