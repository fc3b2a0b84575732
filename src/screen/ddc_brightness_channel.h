#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace tallowmere::platform {
class Sleeper;
}

namespace tallowmere {

// Brightness over DDC/CI (VCP code 0x10) on one display's I²C bus: the
// Get VCP Feature read with its reply checks, and the Set VCP Feature write.
// Blocking, with the pauses the monitors need between packets; run only on
// the brightness queue.
class DdcBrightnessChannel {
public:
    // One I²C transfer (chip, offset, bytes, length) answering 0 on success.
    using Transfer = std::function<std::int32_t(std::uint32_t chip, std::uint32_t offset, std::uint8_t* bytes,
                                                std::uint32_t length)>;
    struct Level {
        std::uint16_t current;
        std::uint16_t maximum;
        bool operator==(const Level&) const = default;
    };

    static constexpr std::uint32_t chipAddress = 0x37;
    static constexpr std::uint32_t writeOffset = 0x51;  // the host's source address
    static constexpr std::uint8_t brightnessCode = 0x10;
    static constexpr int readAttempts = 3;
    static constexpr unsigned pauseBeforeSendMicroseconds = 10'000;
    static constexpr unsigned pauseBeforeReadMicroseconds = 50'000;

    // An empty `write` or `read` stands for a function the system lacks.
    DdcBrightnessChannel(Transfer read, Transfer write, platform::Sleeper& sleeper)
        : read_(std::move(read)), write_(std::move(write)), sleeper_(sleeper) {}

    // A request packet for `payload` (at most 254 bytes): length, payload,
    // and the checksum over the destination and source addresses (0x6E,
    // 0x51) and every byte before it.
    static std::vector<std::uint8_t> packet(std::span<const std::uint8_t> payload);

    // Up to three attempts; nothing when every one fails.
    std::optional<Level> readBrightness();
    // Sends `level` (0...1) of `maximum`, with a second try when the first
    // pair of sends fails; true when a send went through.
    bool setBrightness(double level, std::uint16_t maximum);

private:
    // Sends the packet twice, 10 ms before each; true when either went through.
    bool sendPair(std::vector<std::uint8_t> packet);
    void pause(unsigned microseconds);

    Transfer read_;
    Transfer write_;
    platform::Sleeper& sleeper_;
};

}  // namespace tallowmere
