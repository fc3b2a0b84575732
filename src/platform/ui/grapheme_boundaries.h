#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace tallowmere::platform {

// Byte offsets in UTF-8 text where user-perceived characters begin and end,
// so editing and truncation never split an emoji or a combined letter.
namespace GraphemeBoundaries {

// Every boundary from 0 to text.size(), in order.
std::vector<std::size_t> all(std::string_view text);
// The first boundary after `offset` (text.size() at the end).
std::size_t next(std::string_view text, std::size_t offset);
// The last boundary before `offset` (0 at the start).
std::size_t previous(std::string_view text, std::size_t offset);
// `offset` moved back to the boundary at or before it.
std::size_t atOrBefore(std::string_view text, std::size_t offset);

}  // namespace GraphemeBoundaries

}  // namespace tallowmere::platform
