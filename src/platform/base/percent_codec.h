#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tallowmere::platform {

// The parts of a URL, each with its own set of characters that may stand
// unescaped (RFC 3986).
enum class UrlComponent {
    user,       // unreserved, sub-delims
    password,   // and ":"
    host,       // unreserved, sub-delims
    path,       // unreserved, sub-delims, ":", "@", "/"
    query,      // the whole query: path's set and "?"
    queryItem,  // one name or value: the query's set without "&", "=" and "+"
    fragment,   // path's set and "?"
};

// The one percent codec of the program. Encoding works on bytes: every byte
// outside the component's set, including "%" itself, becomes "%XX" with
// upper-case hex digits, so non-ASCII text is escaped as its UTF-8 bytes.
// Decoding turns "%XX" back into its byte and nothing else: "+" is a plus
// sign, never a space (form encoding is not URL encoding), which is why
// query-item encoding escapes "+" so servers that do read "+" as a space see
// "%2B".
namespace PercentCodec {

std::string encode(std::string_view text, UrlComponent component);

// Nothing when an escape is malformed ("%", "%4", "%zz") or the decoded
// bytes are not UTF-8.
std::optional<std::string> decode(std::string_view text);
// Malformed escapes stay as written; no UTF-8 requirement (file paths may
// hold any bytes).
std::string decodeBytes(std::string_view text);

bool isAllowed(unsigned char byte, UrlComponent component);

}  // namespace PercentCodec

}  // namespace tallowmere::platform
