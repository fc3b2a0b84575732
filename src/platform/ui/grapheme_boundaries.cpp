#include "platform/ui/grapheme_boundaries.h"

#include <algorithm>

#include "platform/base/text.h"

namespace tallowmere::platform::GraphemeBoundaries {

std::vector<std::size_t> all(std::string_view text) { return Text::graphemeBoundaries(text); }

std::size_t next(std::string_view text, std::size_t offset) {
    const auto boundaries = all(text);
    auto it = std::upper_bound(boundaries.begin(), boundaries.end(), offset);
    return it == boundaries.end() ? text.size() : *it;
}

std::size_t previous(std::string_view text, std::size_t offset) {
    const auto boundaries = all(text);
    auto it = std::lower_bound(boundaries.begin(), boundaries.end(), offset);
    return it == boundaries.begin() ? 0 : *(it - 1);
}

std::size_t atOrBefore(std::string_view text, std::size_t offset) {
    if (offset >= text.size()) return text.size();
    const auto boundaries = all(text);
    auto it = std::upper_bound(boundaries.begin(), boundaries.end(), offset);
    return *(it - 1);
}

}  // namespace tallowmere::platform::GraphemeBoundaries
