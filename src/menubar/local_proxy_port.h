#pragma once

#include <optional>

#include "platform/base/property_value.h"

namespace tallowmere {

// The port of an enabled HTTP, HTTPS or SOCKS proxy (tried in that order)
// that the system proxy settings put on this machine ("127.0.0.1",
// "localhost" or "::1", in any case); none otherwise. A port outside
// 1...65535 names no proxy.
std::optional<int> localSystemProxyPort(const std::optional<platform::PropertyValue>& proxies);

}  // namespace tallowmere
