#include "platform/desktop/utf16_offsets.h"

#include <algorithm>

namespace tallowmere::platform::Utf16 {

namespace {
// Bytes of the UTF-8 sequence starting with `lead` (1 for a stray byte).
std::size_t sequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead >> 5) == 0x6) return 2;
    if ((lead >> 4) == 0xE) return 3;
    if ((lead >> 3) == 0x1E) return 4;
    return 1;
}
}  // namespace

std::int64_t length(std::string_view utf8) {
    std::int64_t units = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t n = sequenceLength(static_cast<unsigned char>(utf8[i]));
        units += (n == 4) ? 2 : 1;
        i += n;
    }
    return units;
}

std::size_t byteOffset(std::string_view utf8, std::int64_t utf16Offset) {
    std::int64_t units = 0;
    std::size_t i = 0;
    while (i < utf8.size()) {
        const std::size_t n = sequenceLength(static_cast<unsigned char>(utf8[i]));
        const std::int64_t width = (n == 4) ? 2 : 1;
        if (units + width > utf16Offset) break;
        units += width;
        i = std::min(utf8.size(), i + n);
    }
    return i;
}

std::optional<std::string> slice(std::string_view utf8, std::int64_t location, std::int64_t count) {
    if (location < 0 || count < 0 || location + count > length(utf8)) return std::nullopt;
    const std::size_t begin = byteOffset(utf8, location);
    const std::size_t end = byteOffset(utf8, location + count);
    return std::string(utf8.substr(begin, end - begin));
}

}  // namespace tallowmere::platform::Utf16
