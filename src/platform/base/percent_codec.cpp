#include "platform/base/percent_codec.h"

#include <cstring>

#include "platform/base/text.h"

namespace tallowmere::platform::PercentCodec {

namespace {

bool isUnreserved(unsigned char byte) {
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') ||
           byte == '-' || byte == '.' || byte == '_' || byte == '~';
}

bool isSubDelimiter(unsigned char byte) { return byte != 0 && std::strchr("!$&'()*+,;=", byte) != nullptr; }

int hexValue(char character) {
    if (character >= '0' && character <= '9') return character - '0';
    if (character >= 'a' && character <= 'f') return character - 'a' + 10;
    if (character >= 'A' && character <= 'F') return character - 'A' + 10;
    return -1;
}

// Byte value of a well-formed escape at `index`, or -1.
int escapeAt(std::string_view text, std::size_t index) {
    if (index + 2 >= text.size() || text[index] != '%') return -1;
    const int high = hexValue(text[index + 1]);
    const int low = hexValue(text[index + 2]);
    return high < 0 || low < 0 ? -1 : high * 16 + low;
}

}  // namespace

bool isAllowed(unsigned char byte, UrlComponent component) {
    if (isUnreserved(byte)) return true;
    switch (component) {
    case UrlComponent::user:
    case UrlComponent::host:
        return isSubDelimiter(byte);
    case UrlComponent::password:
        return isSubDelimiter(byte) || byte == ':';
    case UrlComponent::path:
        return isSubDelimiter(byte) || byte == ':' || byte == '@' || byte == '/';
    case UrlComponent::query:
    case UrlComponent::fragment:
        return isSubDelimiter(byte) || byte == ':' || byte == '@' || byte == '/' || byte == '?';
    case UrlComponent::queryItem:
        return (isSubDelimiter(byte) && byte != '&' && byte != '=' && byte != '+') || byte == ':' || byte == '@' ||
               byte == '/' || byte == '?';
    }
    return false;
}

std::string encode(std::string_view text, UrlComponent component) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string result;
    result.reserve(text.size());
    for (char character : text) {
        const auto byte = static_cast<unsigned char>(character);
        if (isAllowed(byte, component)) {
            result += character;
        } else {
            result += '%';
            result += digits[byte >> 4];
            result += digits[byte & 0x0F];
        }
    }
    return result;
}

std::optional<std::string> decode(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t index = 0; index < text.size(); ++index) {
        if (text[index] != '%') {
            result += text[index];
            continue;
        }
        const int value = escapeAt(text, index);
        if (value < 0) return std::nullopt;
        result += static_cast<char>(value);
        index += 2;
    }
    if (!Text::isValidUtf8(result)) return std::nullopt;
    return result;
}

std::string decodeBytes(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t index = 0; index < text.size(); ++index) {
        const int value = text[index] == '%' ? escapeAt(text, index) : -1;
        if (value < 0) {
            result += text[index];
        } else {
            result += static_cast<char>(value);
            index += 2;
        }
    }
    return result;
}

}  // namespace tallowmere::platform::PercentCodec
