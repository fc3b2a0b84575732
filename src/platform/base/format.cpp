#include "platform/base/format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

namespace tallowmere::platform {

namespace {

constexpr int maximumWidth = 1024;

struct Placeholder {
    std::optional<std::size_t> position;  // 1-based, when written as "%n$"
    bool leftAlign = false;
    bool zeroPad = false;
    bool plusSign = false;
    bool spaceSign = false;
    bool alternate = false;
    int width = 0;
    std::optional<int> precision;
    char conversion = 0;
};

bool isDigit(char character) { return character >= '0' && character <= '9'; }

int readNumber(std::string_view text, std::size_t& index) {
    long long value = 0;
    while (index < text.size() && isDigit(text[index])) {
        value = std::min<long long>(value * 10 + (text[index] - '0'), maximumWidth);
        ++index;
    }
    return static_cast<int>(value);
}

// Parses the placeholder after the "%" at `start`; `end` receives the index
// just past it. Nothing when the text there is not a placeholder we know.
std::optional<Placeholder> parsePlaceholder(std::string_view text, std::size_t start, std::size_t& end) {
    Placeholder placeholder;
    std::size_t index = start + 1;
    // "%2$d": digits followed by "$" are a position, otherwise a width.
    std::size_t digitsEnd = index;
    while (digitsEnd < text.size() && isDigit(text[digitsEnd])) ++digitsEnd;
    if (digitsEnd > index && digitsEnd < text.size() && text[digitsEnd] == '$') {
        std::size_t cursor = index;
        placeholder.position = static_cast<std::size_t>(readNumber(text, cursor));
        index = digitsEnd + 1;
    }
    for (; index < text.size(); ++index) {
        const char flag = text[index];
        if (flag == '-') placeholder.leftAlign = true;
        else if (flag == '0') placeholder.zeroPad = true;
        else if (flag == '+') placeholder.plusSign = true;
        else if (flag == ' ') placeholder.spaceSign = true;
        else if (flag == '#') placeholder.alternate = true;
        else if (flag == '\'') continue;  // grouping: not used in the POSIX locale
        else break;
    }
    placeholder.width = readNumber(text, index);
    if (index < text.size() && text[index] == '.') {
        ++index;
        placeholder.precision = readNumber(text, index);
    }
    while (index < text.size() && std::string_view("hlqLztj").find(text[index]) != std::string_view::npos) ++index;
    if (index >= text.size()) return std::nullopt;
    const char conversion = text[index];
    if (std::string_view("@sSdiuxXofFeEgG").find(conversion) == std::string_view::npos) return std::nullopt;
    placeholder.conversion = conversion;
    end = index + 1;
    return placeholder;
}

std::size_t codePointCount(std::string_view text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string pad(std::string body, const Placeholder& placeholder, bool numeric, bool allowZeroPad) {
    const auto width = static_cast<std::size_t>(placeholder.width);
    const std::size_t length = codePointCount(body);
    if (length >= width) return body;
    const std::size_t fill = width - length;
    if (placeholder.leftAlign) return body + std::string(fill, ' ');
    if (numeric && allowZeroPad && placeholder.zeroPad) {
        // Zeros go after the sign and any "0x" prefix.
        std::size_t prefix = 0;
        if (!body.empty() && (body[0] == '-' || body[0] == '+' || body[0] == ' ')) prefix = 1;
        if (body.compare(prefix, 2, "0x") == 0 || body.compare(prefix, 2, "0X") == 0) prefix += 2;
        return body.insert(prefix, fill, '0');
    }
    return std::string(fill, ' ') + body;
}

std::string signFor(bool negative, const Placeholder& placeholder) {
    if (negative) return "-";
    if (placeholder.plusSign) return "+";
    if (placeholder.spaceSign) return " ";
    return "";
}

std::string shortestReal(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return result.ec == std::errc() ? std::string(buffer, result.ptr) : std::string();
}

std::string formatInteger(std::int64_t signedValue, const Placeholder& placeholder) {
    const char conversion = placeholder.conversion;
    const bool isSigned = conversion == 'd' || conversion == 'i';
    const bool negative = isSigned && signedValue < 0;
    const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(signedValue)
                                             : static_cast<std::uint64_t>(signedValue);
    const int base = conversion == 'x' || conversion == 'X' ? 16 : conversion == 'o' ? 8 : 10;
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude, base);
    std::string digits(buffer, result.ptr);
    if (conversion == 'X') std::transform(digits.begin(), digits.end(), digits.begin(), ::toupper);
    if (placeholder.precision) {
        if (*placeholder.precision == 0 && magnitude == 0) digits.clear();
        if (digits.size() < static_cast<std::size_t>(*placeholder.precision)) {
            digits.insert(0, static_cast<std::size_t>(*placeholder.precision) - digits.size(), '0');
        }
    }
    std::string prefix = isSigned ? signFor(negative, placeholder) : "";
    if (placeholder.alternate && magnitude != 0) {
        if (base == 16) prefix += conversion == 'X' ? "0X" : "0x";
        if (base == 8 && !digits.starts_with('0')) prefix += "0";
    }
    // As in C, a precision on an integer turns the "0" flag off.
    return pad(prefix + digits, placeholder, true, !placeholder.precision);
}

std::string formatReal(double value, const Placeholder& placeholder) {
    const char conversion = placeholder.conversion;
    const int precision = placeholder.precision.value_or(6);
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(conversion)));
    const auto format = lower == 'f'   ? std::chars_format::fixed
                        : lower == 'e' ? std::chars_format::scientific
                                       : std::chars_format::general;
    const bool negative = std::signbit(value) && !std::isnan(value);
    std::string digits;
    if (std::isfinite(value)) {
        char buffer[maximumWidth + 400];  // 1024 decimals after up to 309 integer digits
        const int effective = lower == 'g' ? std::max(precision, 1) : precision;
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), format, effective);
        if (result.ec == std::errc()) digits.assign(buffer, result.ptr);
        if (lower == 'g' && placeholder.alternate && digits.find('.') == std::string::npos &&
            digits.find('e') == std::string::npos) {
            digits += '.';
        }
    } else {
        digits = std::isnan(value) ? "nan" : "inf";
    }
    if (std::isupper(static_cast<unsigned char>(conversion))) {
        std::transform(digits.begin(), digits.end(), digits.begin(), ::toupper);
    }
    return pad(signFor(negative, placeholder) + digits, placeholder, true, std::isfinite(value));
}

std::int64_t truncatedInteger(double value) {
    if (std::isnan(value)) return 0;
    constexpr double limit = 9.2233720368547758e18;
    if (value >= limit) return std::numeric_limits<std::int64_t>::max();
    if (value <= -limit) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(value);
}

std::string render(const Placeholder& placeholder, const FormatArgument::Value& argument) {
    const char conversion = placeholder.conversion;
    const bool wantsText = conversion == '@' || conversion == 's' || conversion == 'S';
    const bool wantsReal = std::string_view("fFeEgG").find(conversion) != std::string_view::npos;

    if (const auto* text = std::get_if<std::string>(&argument)) return pad(*text, placeholder, false, false);
    if (wantsText) {
        const auto* integer = std::get_if<std::int64_t>(&argument);
        return pad(integer ? std::to_string(*integer) : shortestReal(std::get<double>(argument)), placeholder, false,
                   false);
    }
    if (wantsReal) {
        const auto* integer = std::get_if<std::int64_t>(&argument);
        return formatReal(integer ? static_cast<double>(*integer) : std::get<double>(argument), placeholder);
    }
    const auto* integer = std::get_if<std::int64_t>(&argument);
    return formatInteger(integer ? *integer : truncatedInteger(std::get<double>(argument)), placeholder);
}

}  // namespace

std::string formatTemplate(std::string_view templateText, std::span<const FormatArgument> arguments) {
    std::string result;
    result.reserve(templateText.size() + 16 * arguments.size());
    std::size_t nextSequential = 0;
    for (std::size_t index = 0; index < templateText.size();) {
        const std::size_t percent = templateText.find('%', index);
        if (percent == std::string_view::npos) {
            result.append(templateText.substr(index));
            break;
        }
        result.append(templateText.substr(index, percent - index));
        if (percent + 1 < templateText.size() && templateText[percent + 1] == '%') {
            result += '%';
            index = percent + 2;
            continue;
        }
        std::size_t end = percent + 1;
        const auto placeholder = parsePlaceholder(templateText, percent, end);
        if (!placeholder) {
            result += '%';
            index = percent + 1;
            continue;
        }
        const std::size_t argumentIndex =
            placeholder->position ? (*placeholder->position == 0 ? arguments.size() : *placeholder->position - 1)
                                  : nextSequential++;
        if (argumentIndex < arguments.size()) result += render(*placeholder, arguments[argumentIndex].value());
        index = end;
    }
    return result;
}

}  // namespace tallowmere::platform
