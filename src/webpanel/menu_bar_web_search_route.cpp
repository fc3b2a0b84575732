#include "webpanel/menu_bar_web_search_route.h"

#include <array>
#include <cmath>

namespace tallowmere {

namespace {

constexpr std::array<std::string_view, 4> tunnelPrefixes = {"utun", "tun", "ppp", "ipsec"};
constexpr std::array<std::string_view, 4> proxySwitches = {"HTTPEnable", "HTTPSEnable", "SOCKSEnable",
                                                           "ProxyAutoConfigEnable"};

// The settings hold their switches as numbers; only a true one counts.
bool isSwitchedOn(const platform::PropertyValue* value) {
    if (!value) return false;
    if (const auto number = value->asInteger()) return *number != 0;
    if (const auto real = value->asReal()) return *real != 0 && !std::isnan(*real);
    if (const auto flag = value->asBoolean()) return *flag;
    return false;
}

}  // namespace

bool prefersInternationalSearch(const std::vector<std::string>& upInterfaceNames,
                                const std::optional<platform::PropertyValue>& proxies) {
    for (const auto& name : upInterfaceNames) {
        for (const auto prefix : tunnelPrefixes) {
            if (std::string_view(name).starts_with(prefix)) return true;
        }
    }
    if (!proxies) return false;
    for (const auto key : proxySwitches) {
        if (isSwitchedOn(proxies->find(key))) return true;
    }
    return false;
}

std::optional<platform::Url> searchURL(std::string_view text, std::string_view endpoint) {
    auto url = platform::Url::parse(endpoint);
    if (!url || url->scheme().empty() || !url->host()) return std::nullopt;
    url->setQueryItems({{"q", std::string(text)}});
    return url;
}

}  // namespace tallowmere
