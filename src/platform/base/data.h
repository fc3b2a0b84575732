#pragma once

#include <cstdint>
#include <vector>

namespace tallowmere::platform {

// Raw bytes, as read from a file or stored in a property list.
using Data = std::vector<std::uint8_t>;

}  // namespace tallowmere::platform
