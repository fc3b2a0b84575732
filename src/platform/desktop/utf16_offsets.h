#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tallowmere::platform {

// Accessibility counts text in UTF-16 code units; the desktop keeps text as
// UTF-8. These convert between the two. A UTF-16 offset that falls inside a
// surrogate pair is moved to the start of the character.
namespace Utf16 {

std::int64_t length(std::string_view utf8);
// Byte offset of a UTF-16 offset (clamped to the text).
std::size_t byteOffset(std::string_view utf8, std::int64_t utf16Offset);
// The text of [location, location + length); none when the range is negative
// or reaches past the end.
std::optional<std::string> slice(std::string_view utf8, std::int64_t location, std::int64_t length);

}  // namespace Utf16

}  // namespace tallowmere::platform
