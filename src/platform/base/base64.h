#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace tallowmere::platform {

// Standard Base64 with padding, on one line.
std::string base64Encoded(std::span<const std::uint8_t> bytes);

}  // namespace tallowmere::platform
