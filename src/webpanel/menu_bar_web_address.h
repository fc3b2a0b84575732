#pragma once

#include <optional>
#include <string_view>

#include "platform/base/url.h"

namespace tallowmere {

// The one validator of web addresses: trimmed, "https://" put in front of
// text without a scheme separator, accepted only as an http or https
// address with a host.
std::optional<platform::Url> normalizedURL(std::string_view text);

}  // namespace tallowmere
