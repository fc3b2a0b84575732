#include "platform/desktop/network_proxy_settings.h"

#include <array>
#include <cstdlib>

#include "platform/base/url.h"

namespace tallowmere::platform {

namespace {

struct ProxyVariable {
    const char* lowerCase;
    const char* upperCase;
    const char* prefix;  // of the dictionary's keys
};

constexpr std::array proxyVariables{
    ProxyVariable{"http_proxy", "HTTP_PROXY", "HTTP"},
    ProxyVariable{"https_proxy", "HTTPS_PROXY", "HTTPS"},
    ProxyVariable{"all_proxy", "ALL_PROXY", "SOCKS"},
};

std::optional<std::string> processEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (!value) return std::nullopt;
    return std::string(value);
}

}  // namespace

NetworkProxySettings::NetworkProxySettings() : environment_(processEnvironment) {}

std::optional<PropertyValue> NetworkProxySettings::copyProxies() const {
    if (set_) return *set_;
    return fromEnvironment(environment_);
}

void NetworkProxySettings::setProxies(std::optional<PropertyValue> proxies) { set_ = std::move(proxies); }

PropertyValue NetworkProxySettings::fromEnvironment(const EnvironmentReader& environment) {
    PropertyValue::Dictionary proxies;
    for (const auto& variable : proxyVariables) {
        auto value = environment(variable.lowerCase);
        if (!value || value->empty()) value = environment(variable.upperCase);
        if (!value || value->empty()) continue;
        // "127.0.0.1:7890" without a scheme is common too.
        std::string text = *value;
        if (text.find("://") == std::string::npos) text = "http://" + text;
        const auto url = Url::parse(text);
        if (!url || !url->host() || !url->port()) continue;
        std::string host = *url->host();
        if (host.size() > 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
        const std::string prefix = variable.prefix;
        proxies[prefix + "Enable"] = PropertyValue(1);
        proxies[prefix + "Proxy"] = PropertyValue(host);
        proxies[prefix + "Port"] = PropertyValue(*url->port());
    }
    return PropertyValue(std::move(proxies));
}

}  // namespace tallowmere::platform
