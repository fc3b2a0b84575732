#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "platform/base/result.h"

namespace tallowmere::platform {

// Who a display says it is, as its EDID tells the system: what matches a
// screen to the display bus that reaches it.
struct DisplayIdentity {
    // The EDID manufacturer number, three letters packed in five bits each
    // ("DEL" is 0x10AC).
    std::uint32_t vendor = 0;
    // The EDID product code.
    std::uint32_t product = 0;
    // 0: the display reports none.
    std::uint32_t serial = 0;
    std::string productName{};
    // The display's path in the service registry; empty: the desktop makes one.
    std::string registryLocation{};

    bool operator==(const DisplayIdentity&) const = default;

    // The three letters `vendor` packs; empty when it packs no letters.
    std::string manufacturerCode() const;

    // From a display's EDID base block (128 bytes or more). A block with a
    // bad header or checksum is refused.
    static Result<DisplayIdentity> fromEdid(std::span<const std::uint8_t> edid);
};

}  // namespace tallowmere::platform
