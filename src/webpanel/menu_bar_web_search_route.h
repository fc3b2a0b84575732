#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/property_value.h"
#include "platform/base/url.h"

namespace tallowmere {

// True when searches should leave through the international engine: a
// tunnel interface is up ("utun", "tun", "ppp", "ipsec" names) or the system
// proxy settings switch on an HTTP, HTTPS, SOCKS proxy or automatic
// configuration.
bool prefersInternationalSearch(const std::vector<std::string>& upInterfaceNames,
                                const std::optional<platform::PropertyValue>& proxies);

// The endpoint with one query item "q" holding `text`; none when the
// endpoint is no absolute address.
std::optional<platform::Url> searchURL(std::string_view text, std::string_view endpoint);

}  // namespace tallowmere
