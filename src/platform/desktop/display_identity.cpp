#include "platform/desktop/display_identity.h"

#include <algorithm>
#include <array>
#include <numeric>

namespace tallowmere::platform {

std::string DisplayIdentity::manufacturerCode() const {
    std::string code;
    for (int shift : {10, 5, 0}) {
        const unsigned letter = (vendor >> shift) & 0x1F;
        if (letter < 1 || letter > 26) return {};
        code.push_back(static_cast<char>('A' + letter - 1));
    }
    return code;
}

Result<DisplayIdentity> DisplayIdentity::fromEdid(std::span<const std::uint8_t> edid) {
    constexpr std::size_t blockSize = 128;
    constexpr std::array<std::uint8_t, 8> header{0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
    if (edid.size() < blockSize) return Error{ErrorCode::parseFailed, "An EDID block is 128 bytes"};
    const auto block = edid.first(blockSize);
    if (!std::equal(header.begin(), header.end(), block.begin())) {
        return Error{ErrorCode::parseFailed, "The EDID header is missing"};
    }
    if (std::accumulate(block.begin(), block.end(), 0u) % 256 != 0) {
        return Error{ErrorCode::parseFailed, "The EDID checksum does not add up"};
    }
    DisplayIdentity identity;
    identity.vendor = static_cast<std::uint32_t>(block[8]) << 8 | block[9];
    identity.product = static_cast<std::uint32_t>(block[11]) << 8 | block[10];
    identity.serial = static_cast<std::uint32_t>(block[15]) << 24 | static_cast<std::uint32_t>(block[14]) << 16 |
                      static_cast<std::uint32_t>(block[13]) << 8 | block[12];
    // Four 18-byte descriptors; the one tagged 0xFC holds the product name,
    // ended by a line feed and padded with spaces.
    for (std::size_t offset = 54; offset + 18 <= 126; offset += 18) {
        const auto descriptor = block.subspan(offset, 18);
        if (descriptor[0] != 0 || descriptor[1] != 0 || descriptor[2] != 0 || descriptor[3] != 0xFC) continue;
        std::string name;
        for (std::uint8_t byte : descriptor.subspan(5)) {
            if (byte == 0x0A || byte == 0) break;
            if (byte < 0x20 || byte > 0x7E) continue;  // only printable ASCII reaches a name
            name.push_back(static_cast<char>(byte));
        }
        while (!name.empty() && name.back() == ' ') name.pop_back();
        identity.productName = std::move(name);
        break;
    }
    return identity;
}

}  // namespace tallowmere::platform
