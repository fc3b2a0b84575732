#pragma once

#include <cstdint>

namespace tallowmere::platform {

// The I²C bus of a display connection, as the display's AV service offers
// it: writes of a packet to a chip at an offset, reads of a reply. Both
// answer 0 on success, as the platform's calls do. Called from one
// background queue at a time.
class I2cBus {
public:
    // What a failed transfer answers (the platform's general I/O error).
    static constexpr std::int32_t failureStatus = static_cast<std::int32_t>(0xE00002BC);

    virtual ~I2cBus() = default;
    virtual std::int32_t write(std::uint32_t chip, std::uint32_t offset, const std::uint8_t* bytes,
                               std::uint32_t length) = 0;
    virtual std::int32_t read(std::uint32_t chip, std::uint32_t offset, std::uint8_t* buffer,
                              std::uint32_t length) = 0;
};

}  // namespace tallowmere::platform
