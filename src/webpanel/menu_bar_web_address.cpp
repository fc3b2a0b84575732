#include "webpanel/menu_bar_web_address.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "platform/base/text.h"

namespace tallowmere {

std::optional<platform::Url> normalizedURL(std::string_view text) {
    std::string trimmed = platform::Text::trimmingWhitespaceAndNewlines(text);
    if (trimmed.empty()) return std::nullopt;
    if (trimmed.find("://") == std::string::npos) trimmed = "https://" + trimmed;
    auto url = platform::Url::parse(trimmed);
    if (!url) return std::nullopt;
    std::string scheme = url->scheme();
    std::transform(scheme.begin(), scheme.end(), scheme.begin(), [](unsigned char c) { return std::tolower(c); });
    if ((scheme != "http" && scheme != "https") || !url->host()) return std::nullopt;
    return url;
}

}  // namespace tallowmere
