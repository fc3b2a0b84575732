#include "screen/ddc_brightness_channel.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>

#include "platform/runtime/sleeper.h"

namespace tallowmere {

namespace {

constexpr std::uint8_t destinationAddress = 0x6E;
constexpr std::uint8_t sourceAddress = 0x51;
constexpr std::uint8_t vcpReplyOpcode = 0x02;
// A reply's checksum starts from the address the host reads it at.
constexpr std::uint8_t replyChecksumSeed = 0x50;
constexpr std::size_t replyLength = 11;

}  // namespace

std::vector<std::uint8_t> DdcBrightnessChannel::packet(std::span<const std::uint8_t> payload) {
    const auto n = static_cast<std::uint8_t>(payload.size());
    std::vector<std::uint8_t> bytes{static_cast<std::uint8_t>((n + 1) | 0x80), n};
    bytes.insert(bytes.end(), payload.begin(), payload.end());
    // Every request, short or long, is summed from both addresses: a monitor
    // that checks the sum ignores a request that leaves one out.
    std::uint8_t checksum = destinationAddress ^ sourceAddress;
    for (std::uint8_t byte : bytes) checksum ^= byte;
    bytes.push_back(checksum);
    return bytes;
}

void DdcBrightnessChannel::pause(unsigned microseconds) { sleeper_.pause(std::chrono::microseconds(microseconds)); }

bool DdcBrightnessChannel::sendPair(std::vector<std::uint8_t> bytes) {
    if (!write_) return false;
    bool sent = false;
    for (int i = 0; i < 2; ++i) {
        pause(pauseBeforeSendMicroseconds);
        sent = write_(chipAddress, writeOffset, bytes.data(), static_cast<std::uint32_t>(bytes.size())) == 0 || sent;
    }
    return sent;
}

std::optional<DdcBrightnessChannel::Level> DdcBrightnessChannel::readBrightness() {
    const std::array<std::uint8_t, 1> payload{brightnessCode};
    for (int attempt = 0; attempt < readAttempts; ++attempt) {
        if (!sendPair(packet(payload))) continue;
        pause(pauseBeforeReadMicroseconds);
        std::array<std::uint8_t, replyLength> reply{};
        if (!read_ || read_(chipAddress, 0, reply.data(), replyLength) != 0) continue;
        std::uint8_t checksum = replyChecksumSeed;
        for (std::size_t i = 0; i + 1 < replyLength; ++i) checksum ^= reply[i];
        if (reply[0] != destinationAddress || (reply[1] & 0x7F) != 8 || reply[2] != vcpReplyOpcode || reply[3] != 0 ||
            reply[4] != brightnessCode || reply[10] != checksum) {
            continue;
        }
        const auto maximum = static_cast<std::uint16_t>(reply[6] << 8 | reply[7]);
        const auto current = static_cast<std::uint16_t>(reply[8] << 8 | reply[9]);
        if (maximum == 0 || current > maximum) continue;
        return Level{current, maximum};
    }
    return std::nullopt;
}

bool DdcBrightnessChannel::setBrightness(double level, std::uint16_t maximum) {
    // std::round takes halves away from zero: 127.5 of 255 goes up to 128.
    const auto raw = static_cast<std::uint16_t>(std::round(std::clamp(level, 0.0, 1.0) * maximum));
    const std::array<std::uint8_t, 3> payload{brightnessCode, static_cast<std::uint8_t>(raw >> 8),
                                              static_cast<std::uint8_t>(raw & 0xFF)};
    if (sendPair(packet(payload))) return true;
    return sendPair(packet(payload));
}

}  // namespace tallowmere
