#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace tallowmere {

// Hashes std::string and std::string_view alike, so maps keyed by source
// texts are searched with a view and no copy of the key.
struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const noexcept { return std::hash<std::string_view>{}(text); }
};

template <typename Value>
using TextMap = std::unordered_map<std::string, Value, TextHash, std::equal_to<>>;

}  // namespace tallowmere
