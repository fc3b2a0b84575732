#include "platform/system/preference_reading.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

namespace tallowmere::platform::PreferenceReading {

namespace {

std::string_view skipBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    return text;
}

bool textIsTrue(std::string_view text) {
    text = skipBlanks(text);
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
    while (!text.empty() && text.front() == '0') text.remove_prefix(1);
    if (text.empty()) return false;
    const char first = text.front();
    return first == 'Y' || first == 'y' || first == 'T' || first == 't' ||
           (first >= '1' && first <= '9');
}

std::int64_t leadingInteger(std::string_view text) {
    text = skipBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    constexpr auto max = std::numeric_limits<std::int64_t>::max();
    std::uint64_t magnitude = 0;
    bool overflow = false;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (magnitude > (static_cast<std::uint64_t>(max) + 1 - digit) / 10) overflow = true;
        if (!overflow) magnitude = magnitude * 10 + digit;
    }
    if (negative) {
        if (overflow || magnitude > static_cast<std::uint64_t>(max))
            return std::numeric_limits<std::int64_t>::min();
        return -static_cast<std::int64_t>(magnitude);
    }
    if (overflow || magnitude > static_cast<std::uint64_t>(max)) return max;
    return static_cast<std::int64_t>(magnitude);
}

double leadingReal(std::string_view text) {
    text = skipBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // Only decimal numbers: "inf", "nan" and "0x1A" are words, not numbers.
    if (text.empty() || !((text.front() >= '0' && text.front() <= '9') || text.front() == '.'))
        return 0;
    double parsed = 0;
    std::from_chars(text.data(), text.data() + text.size(), parsed, std::chars_format::general);
    return negative ? -parsed : parsed;
}

std::int64_t truncated(double real) {
    if (std::isnan(real)) return 0;
    constexpr double limit = 9223372036854775807.0;  // 2^63, the first double past the range
    if (real >= limit) return std::numeric_limits<std::int64_t>::max();
    if (real <= -limit) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(real);
}

std::string realText(double real) {
    char buffer[64];
    auto end = std::to_chars(buffer, buffer + sizeof buffer, real).ptr;
    return std::string(buffer, end);
}

}  // namespace

bool boolean(const PropertyValue* value) {
    if (!value) return false;
    if (auto flag = value->asBoolean()) return *flag;
    if (auto number = value->asNumber()) return *number != 0;
    if (const std::string* text = value->asString()) return textIsTrue(*text);
    return false;
}

std::int64_t integer(const PropertyValue* value) {
    if (!value) return 0;
    if (auto whole = value->asInteger()) return *whole;
    if (auto fraction = value->asReal()) return truncated(*fraction);
    if (auto flag = value->asBoolean()) return *flag ? 1 : 0;
    if (const std::string* text = value->asString()) return leadingInteger(*text);
    return 0;
}

double real(const PropertyValue* value) {
    if (!value) return 0;
    if (auto number = value->asNumber()) return *number;
    if (auto flag = value->asBoolean()) return *flag ? 1 : 0;
    if (const std::string* text = value->asString()) return leadingReal(*text);
    return 0;
}

std::optional<std::string> string(const PropertyValue* value) {
    if (!value) return std::nullopt;
    if (const std::string* text = value->asString()) return *text;
    if (auto whole = value->asInteger()) return std::to_string(*whole);
    if (auto fraction = value->asReal()) return realText(*fraction);
    if (auto flag = value->asBoolean()) return *flag ? "1" : "0";
    return std::nullopt;
}

std::optional<std::vector<std::string>> stringArray(const PropertyValue* value) {
    const PropertyValue::Array* array = value ? value->asArray() : nullptr;
    if (!array) return std::nullopt;
    std::vector<std::string> strings;
    strings.reserve(array->size());
    for (const PropertyValue& element : *array) {
        const std::string* text = element.asString();
        if (!text) return std::nullopt;
        strings.push_back(*text);
    }
    return strings;
}

}  // namespace tallowmere::platform::PreferenceReading
