#include "hosts/hosts_text_validator.h"

#include <cstddef>

namespace tallowmere {

namespace {

// Byte lengths of the newline character starting at `at` (LF, VT, FF, CR,
// NEL, LINE SEPARATOR, PARAGRAPH SEPARATOR), 0 when none starts there.
std::size_t newlineLength(std::string_view text, std::size_t at) {
    const auto byte = static_cast<unsigned char>(text[at]);
    if (byte >= 0x0A && byte <= 0x0D) return 1;
    if (byte == 0xC2 && at + 1 < text.size() && static_cast<unsigned char>(text[at + 1]) == 0x85) return 2;
    if (byte == 0xE2 && at + 2 < text.size() && static_cast<unsigned char>(text[at + 1]) == 0x80) {
        const auto last = static_cast<unsigned char>(text[at + 2]);
        if (last == 0xA8 || last == 0xA9) return 3;
    }
    return 0;
}

// Byte length of the white-space character (tab or a space separator:
// U+0020, U+00A0, U+1680, U+2000–U+200A, U+202F, U+205F, U+3000) starting
// at `at`, 0 when none starts there.
std::size_t spaceLengthAt(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const std::size_t left = text.size() - at;
    if (byte(0) == 0x20 || byte(0) == 0x09) return 1;
    if (left >= 2 && byte(0) == 0xC2 && byte(1) == 0xA0) return 2;
    if (left < 3) return 0;
    if (byte(0) == 0xE1 && byte(1) == 0x9A && byte(2) == 0x80) return 3;
    if (byte(0) == 0xE2 && byte(1) == 0x80 && ((byte(2) >= 0x80 && byte(2) <= 0x8A) || byte(2) == 0xAF)) return 3;
    if (byte(0) == 0xE2 && byte(1) == 0x81 && byte(2) == 0x9F) return 3;
    if (byte(0) == 0xE3 && byte(1) == 0x80 && byte(2) == 0x80) return 3;
    return 0;
}

// The same, for the white-space character that ends just before `end`.
std::size_t spaceLengthBefore(std::string_view text, std::size_t end) {
    for (std::size_t length : {std::size_t{1}, std::size_t{2}, std::size_t{3}}) {
        if (end >= length && spaceLengthAt(text.substr(0, end), end - length) == length) return length;
    }
    return 0;
}

std::string_view trimmed(std::string_view line) {
    std::size_t begin = 0;
    while (begin < line.size()) {
        const std::size_t length = spaceLengthAt(line, begin);
        if (length == 0) break;
        begin += length;
    }
    std::size_t end = line.size();
    while (end > begin) {
        const std::size_t length = spaceLengthBefore(line, end);
        if (length == 0) break;
        end -= length;
    }
    return line.substr(begin, end - begin);
}

// True when the line is blank, a comment, or holds two fields before "#".
bool lineIsAcceptable(std::string_view line) {
    const std::string_view content = trimmed(line);
    if (content.empty() || content.front() == '#') return true;
    const std::string_view fields = content.substr(0, content.find('#'));
    int count = 0;
    bool inField = false;
    for (char c : fields) {
        const bool separator = c == ' ' || c == '\t';
        if (!separator && !inField && ++count == 2) return true;
        inField = !separator;
    }
    return false;
}

}  // namespace

std::optional<std::string> validateHostsText(std::string_view text) {
    std::size_t lineNumber = 1;
    std::size_t lineStart = 0;
    for (std::size_t at = 0; at <= text.size();) {
        const std::size_t breakLength = at < text.size() ? newlineLength(text, at) : 1;
        if (breakLength == 0) {
            ++at;
            continue;
        }
        if (!lineIsAcceptable(text.substr(lineStart, at - lineStart))) {
            return "第 " + std::to_string(lineNumber) + " 行缺少主机名，正确格式为：IP 地址 + 主机名。";
        }
        at += breakLength;
        lineStart = at;
        ++lineNumber;
    }
    return std::nullopt;
}

}  // namespace tallowmere
