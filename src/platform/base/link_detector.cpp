#include "platform/base/link_detector.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace tallowmere::platform::LinkDetector {

namespace {

bool isAsciiAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isAsciiAlnum(char c) { return isAsciiAlpha(c) || (c >= '0' && c <= '9'); }

// Spaces and ASCII controls end a link; so do the characters that cannot
// stand in an address unescaped.
bool endsLink(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte <= 0x20 || c == '<' || c == '>' || c == '"' || c == '`' || byte == 0x7F;
}

// Sentence punctuation and closing brackets right after a link.
bool isTrailingPunctuation(char c) {
    return c == '.' || c == ',' || c == ';' || c == ':' || c == '!' || c == '?' || c == ')' || c == ']' || c == '}' ||
           c == '\'';
}

// The scheme at the start of `token` when it is one ("https"), else empty.
std::string_view schemeOf(std::string_view token) {
    if (token.empty() || !isAsciiAlpha(token[0])) return {};
    std::size_t at = 1;
    while (at < token.size() && (isAsciiAlnum(token[at]) || token[at] == '+' || token[at] == '-' || token[at] == '.')) ++at;
    if (at >= token.size() || token[at] != ':') return {};
    return token.substr(0, at);
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// Host labels: letters, digits and inner hyphens; at least two labels, the
// last all letters (a top-level domain) of two or more.
bool isHostName(std::string_view host) {
    if (host.empty() || host.size() > 253) return false;
    std::size_t labels = 0;
    std::string_view last;
    std::size_t start = 0;
    while (start <= host.size()) {
        const std::size_t dot = std::min(host.find('.', start), host.size());
        const std::string_view label = host.substr(start, dot - start);
        if (label.empty() || label.size() > 63 || label.front() == '-' || label.back() == '-') return false;
        if (!std::all_of(label.begin(), label.end(), [](char c) { return isAsciiAlnum(c) || c == '-'; })) return false;
        ++labels;
        last = label;
        start = dot + 1;
        if (dot == host.size()) break;
    }
    return labels >= 2 && last.size() >= 2 && std::all_of(last.begin(), last.end(), isAsciiAlpha);
}

bool isEmailAddress(std::string_view text) {
    const auto at = text.find('@');
    if (at == 0 || at == std::string_view::npos || text.find('@', at + 1) != std::string_view::npos) return false;
    const auto local = text.substr(0, at);
    const bool localOk = std::all_of(local.begin(), local.end(), [](char c) {
        return isAsciiAlnum(c) || std::string_view("._%+-").find(c) != std::string_view::npos;
    });
    return localOk && isHostName(text.substr(at + 1));
}

// A bare "host[:port][/path…]".
bool isBareWebAddress(std::string_view text) {
    const std::size_t end = std::min({text.find('/'), text.find('?'), text.find('#'), text.size()});
    std::string_view host = text.substr(0, end);
    if (const auto colon = host.find(':'); colon != std::string_view::npos) {
        const auto port = host.substr(colon + 1);
        if (port.empty() || port.size() > 5 || !std::all_of(port.begin(), port.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return false;
        host = host.substr(0, colon);
    }
    return isHostName(host);
}

std::optional<std::string> linkOf(std::string_view token) {
    const auto scheme = schemeOf(token);
    if (!scheme.empty()) {
        const auto rest = token.substr(scheme.size() + 1);
        if (equalsIgnoringCase(scheme, "mailto")) {
            if (isEmailAddress(rest)) return std::string(token);
            return std::nullopt;
        }
        // A scheme and "//" with something after them; "a:b" is no link,
        // though "host:8080" may still be a bare address below.
        if (rest.size() > 2 && rest.starts_with("//")) return std::string(token);
        if (rest.starts_with("//")) return std::nullopt;
    }
    if (isEmailAddress(token)) return "mailto:" + std::string(token);
    if (isBareWebAddress(token)) return "http://" + std::string(token);
    return std::nullopt;
}

}  // namespace

std::vector<Match> matches(std::string_view text) {
    std::vector<Match> found;
    std::size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && endsLink(text[at])) ++at;
        const std::size_t start = at;
        while (at < text.size() && !endsLink(text[at])) ++at;
        std::size_t end = at;
        while (end > start && isTrailingPunctuation(text[end - 1])) --end;
        std::size_t begin = start;
        while (begin < end && (text[begin] == '(' || text[begin] == '[' || text[begin] == '\'')) ++begin;
        if (begin == end) continue;
        if (auto url = linkOf(text.substr(begin, end - begin))) found.push_back({begin, end - begin, std::move(*url)});
    }
    return found;
}

}  // namespace tallowmere::platform::LinkDetector
