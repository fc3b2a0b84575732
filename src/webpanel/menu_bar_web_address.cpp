#include "webpanel/menu_bar_web_address.h"

#include <algorithm>
#include <cctype>
#include <string>

#include <unicode/utf8.h>

#include "platform/base/text.h"

namespace tallowmere {

namespace {

// A name a page can be asked for: words of a domain (any script), an
// address, or an IPv6 literal. Text with spaces or other punctuation in its
// host ("two words" on the clipboard) is no address, though a URL parser
// would escape it into one.
bool isHostName(const std::optional<std::string>& host) {
    if (!host || host->empty()) return false;
    for (const unsigned char c : *host) {
        const bool allowed = c >= 0x80 || std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '[' ||
                             c == ']' || c == ':';
        if (!allowed) return false;
    }
    return true;
}

}  // namespace

std::optional<platform::Url> normalizedURL(std::string_view text) {
    std::string trimmed = platform::Text::trimmingWhitespaceAndNewlines(text);
    if (trimmed.empty()) return std::nullopt;
    if (trimmed.find("://") == std::string::npos) trimmed = "https://" + trimmed;
    auto url = platform::Url::parse(trimmed);
    if (!url) return std::nullopt;
    std::string scheme = url->scheme();
    std::transform(scheme.begin(), scheme.end(), scheme.begin(), [](unsigned char c) { return std::tolower(c); });
    if ((scheme != "http" && scheme != "https") || !isHostName(url->host())) return std::nullopt;
    return url;
}

std::optional<platform::Url> directNavigationURL(std::string_view text) {
    const std::string trimmed = platform::Text::trimmingWhitespaceAndNewlines(text);
    if (trimmed.empty()) return std::nullopt;
    if (trimmed.find("://") != std::string::npos) return normalizedURL(trimmed);
    // Words with any kind of space between them are a search.
    for (std::int32_t offset = 0, length = static_cast<std::int32_t>(trimmed.size()); offset < length;) {
        UChar32 character;
        U8_NEXT(trimmed.data(), offset, length, character);
        if (character >= 0 && platform::Text::isWhitespaceOrNewline(static_cast<char32_t>(character))) {
            return std::nullopt;
        }
    }
    // Leading slashes are empty parts, skipped.
    const auto start = trimmed.find_first_not_of('/');
    if (start == std::string::npos) return std::nullopt;
    const std::string_view host = std::string_view(trimmed).substr(start, trimmed.find('/', start) - start);
    if (host == "localhost" || host.starts_with("localhost:") || host.find('.') != std::string_view::npos ||
        host.find(':') != std::string_view::npos) {
        return normalizedURL(trimmed);
    }
    return std::nullopt;
}

}  // namespace tallowmere
