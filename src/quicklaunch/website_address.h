#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tallowmere {

// A web address as a website tile keeps it: the text the user typed,
// trimmed, with "https://" put in front when it names no scheme.
struct WebsiteAddress {
    std::string text;  // what is stored and opened
    std::string host;  // the default tile name

    // Nothing unless the text is an http or https address with a host.
    // White space inside the address is refused: it cannot be part of a
    // host, and a path with a space was not meant as one address.
    static std::optional<WebsiteAddress> parse(std::string_view typed);
};

}  // namespace tallowmere
