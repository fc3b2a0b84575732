#include "quicklaunch/website_address.h"

#include <algorithm>

#include "platform/base/text.h"
#include "platform/base/url.h"

namespace tallowmere {

namespace {

std::string lowercasedAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return text;
}

bool holdsWhiteSpace(std::string_view text) {
    const auto boundaries = platform::Text::graphemeBoundaries(text);
    for (std::size_t i = 0; i + 1 < boundaries.size(); ++i) {
        const auto character = text.substr(boundaries[i], boundaries[i + 1] - boundaries[i]);
        if (platform::Text::trimmingWhitespaceAndNewlines(character).empty()) return true;
    }
    return false;
}

}  // namespace

std::optional<WebsiteAddress> WebsiteAddress::parse(std::string_view typed) {
    std::string text = platform::Text::trimmingWhitespaceAndNewlines(typed);
    if (text.find("://") == std::string::npos) text = "https://" + text;
    if (holdsWhiteSpace(text)) return std::nullopt;
    auto url = platform::Url::parse(text);
    if (!url) return std::nullopt;
    const std::string scheme = lowercasedAscii(url->scheme());
    if (scheme != "http" && scheme != "https") return std::nullopt;
    auto host = url->host();
    if (!host) return std::nullopt;
    return WebsiteAddress{std::move(text), std::move(*host)};
}

}  // namespace tallowmere
