#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tallowmere::platform {

// Finds links in plain text the way the system's data detector does: an
// address with a scheme ("https://a.b/c", "ftp://h"), "mailto:" addresses, a
// bare e-mail address (read as "mailto:a@b.cn") and a bare host name with a
// known kind of top-level domain (read as "http://example.com"). Punctuation
// that ends a sentence is not part of a link.
namespace LinkDetector {

struct Match {
    std::size_t location = 0;  // UTF-8 bytes of the text
    std::size_t length = 0;
    std::string url;  // as the link reads, with the scheme it implies
    bool operator==(const Match&) const = default;
};

std::vector<Match> matches(std::string_view text);

}  // namespace LinkDetector

}  // namespace tallowmere::platform
