#include "platform/base/uuid.h"

#include <sys/random.h>

#include <cerrno>
#include <random>

namespace tallowmere::platform {

namespace {

constexpr std::array<std::size_t, 4> hyphenPositions = {8, 13, 18, 23};

bool isHyphenPosition(std::size_t index) {
    for (std::size_t position : hyphenPositions) {
        if (index == position) return true;
    }
    return false;
}

int hexValue(char character) {
    if (character >= '0' && character <= '9') return character - '0';
    if (character >= 'a' && character <= 'f') return character - 'a' + 10;
    if (character >= 'A' && character <= 'F') return character - 'A' + 10;
    return -1;
}

void fillRandom(Uuid::Bytes& bytes) {
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t count = getrandom(bytes.data() + filled, bytes.size() - filled, 0);
        if (count > 0) {
            filled += static_cast<std::size_t>(count);
        } else if (count < 0 && errno != EINTR) {
            // No getrandom (an old kernel or a sandbox): the library's
            // non-deterministic source still gives unpredictable identifiers.
            std::random_device device;
            for (; filled < bytes.size(); ++filled) bytes[filled] = static_cast<std::uint8_t>(device());
        }
    }
}

}  // namespace

Uuid Uuid::random() {
    Bytes bytes;
    fillRandom(bytes);
    bytes[6] = static_cast<std::uint8_t>((bytes[6] & 0x0F) | 0x40);  // version 4
    bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80);  // RFC 4122 variant
    return Uuid(bytes);
}

std::optional<Uuid> Uuid::fromString(std::string_view text) {
    if (text.size() != 36) return std::nullopt;
    Bytes bytes{};
    std::size_t nibble = 0;
    for (std::size_t index = 0; index < text.size(); ++index) {
        if (isHyphenPosition(index)) {
            if (text[index] != '-') return std::nullopt;
            continue;
        }
        const int value = hexValue(text[index]);
        if (value < 0) return std::nullopt;
        bytes[nibble / 2] = static_cast<std::uint8_t>(bytes[nibble / 2] | (nibble % 2 == 0 ? value << 4 : value));
        ++nibble;
    }
    return Uuid(bytes);
}

std::string Uuid::uuidString() const {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(36);
    for (std::size_t index = 0; index < bytes_.size(); ++index) {
        if (index == 4 || index == 6 || index == 8 || index == 10) text += '-';
        text += digits[bytes_[index] >> 4];
        text += digits[bytes_[index] & 0x0F];
    }
    return text;
}

}  // namespace tallowmere::platform
