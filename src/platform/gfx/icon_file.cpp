#include "platform/gfx/icon_file.h"

#include <algorithm>
#include <array>

namespace tallowmere::platform {

namespace {

constexpr std::size_t headerSize = 6;
constexpr std::size_t entrySize = 16;
constexpr std::array<std::uint8_t, 8> pngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};

std::uint32_t littleEndian(std::span<const std::uint8_t> bytes, std::size_t at, std::size_t width) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < width; ++i) value |= static_cast<std::uint32_t>(bytes[at + i]) << (8 * i);
    return value;
}

}  // namespace

Result<std::span<const std::uint8_t>> pngInIconFile(std::span<const std::uint8_t> bytes) {
    const Error notAnIcon{ErrorCode::parseFailed, "Not an icon file"};
    if (bytes.size() < headerSize + entrySize) return notAnIcon;
    if (littleEndian(bytes, 0, 2) != 0 || littleEndian(bytes, 2, 2) != 1) return notAnIcon;
    if (littleEndian(bytes, 4, 2) == 0) return notAnIcon;
    const std::size_t length = littleEndian(bytes, headerSize + 8, 4);
    const std::size_t offset = littleEndian(bytes, headerSize + 12, 4);
    // Compared without adding, so a huge length cannot wrap round.
    if (offset > bytes.size() || length > bytes.size() - offset) return notAnIcon;
    const auto image = bytes.subspan(offset, length);
    if (image.size() < pngSignature.size() || !std::equal(pngSignature.begin(), pngSignature.end(), image.begin())) {
        return Error{ErrorCode::unsupported, "The icon's picture is not a PNG"};
    }
    return image;
}

}  // namespace tallowmere::platform
