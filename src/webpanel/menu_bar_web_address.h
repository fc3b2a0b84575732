#pragma once

#include <optional>
#include <string_view>

#include "platform/base/url.h"

namespace tallowmere {

// The one validator of web addresses: trimmed, "https://" put in front of
// text without a scheme separator, accepted only as an http or https
// address with a host.
std::optional<platform::Url> normalizedURL(std::string_view text);

// What the address bar opens as an address: text with a scheme separator,
// or one word whose host part is "localhost" (with a port) or holds a dot
// or a colon; none for text to search for.
std::optional<platform::Url> directNavigationURL(std::string_view text);

}  // namespace tallowmere
