#include "platform/base/iso8601.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>

namespace tallowmere::platform::Iso8601 {

namespace {

struct CivilDate {
    std::int64_t year;
    int month;
    int day;
};

// Days since 1970-01-01 for a proleptic Gregorian date, and back (the
// well-known era-based conversion; exact for every representable year).
std::int64_t daysFromCivil(CivilDate date) {
    const std::int64_t year = date.year - (date.month <= 2 ? 1 : 0);
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (date.month + (date.month > 2 ? -3 : 9)) + 2) / 5 + date.day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

CivilDate civilFromDays(std::int64_t days) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    const int month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    return {yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

int daysInMonth(std::int64_t year, int month) {
    static constexpr int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : lengths[month - 1];
}

// Reads exactly `width` ASCII digits at the cursor.
class Cursor {
public:
    explicit Cursor(std::string_view text) : text_(text) {}

    std::optional<int> digits(std::size_t width) {
        if (position_ + width > text_.size()) return std::nullopt;
        int value = 0;
        for (std::size_t index = 0; index < width; ++index) {
            const char character = text_[position_ + index];
            if (character < '0' || character > '9') return std::nullopt;
            value = value * 10 + (character - '0');
        }
        position_ += width;
        return value;
    }
    bool literal(char expected) {
        if (position_ >= text_.size() || text_[position_] != expected) return false;
        ++position_;
        return true;
    }
    std::optional<char> peek() const {
        return position_ < text_.size() ? std::optional<char>(text_[position_]) : std::nullopt;
    }
    bool atEnd() const { return position_ == text_.size(); }

private:
    std::string_view text_;
    std::size_t position_ = 0;
};

Error invalid(std::string_view text, const char* why) {
    std::string message = "\"";
    message.append(text).append("\" is not an ISO 8601 date: ").append(why).append(".");
    return Error{ErrorCode::parseFailed, std::move(message)};
}

}  // namespace

std::string format(Date date, Iso8601Options options) {
    const double interval = date.timeIntervalSince1970();
    if (!std::isfinite(interval)) return "";
    const double wholeSeconds = options.fractionalSeconds ? std::floor(interval * 1000) / 1000 : std::floor(interval);
    const auto seconds = static_cast<std::int64_t>(std::floor(wholeSeconds));
    const auto milliseconds = static_cast<int>(std::llround((wholeSeconds - static_cast<double>(seconds)) * 1000));
    std::int64_t days = seconds / 86400;
    std::int64_t secondOfDay = seconds % 86400;
    if (secondOfDay < 0) {
        secondOfDay += 86400;
        days -= 1;
    }
    const CivilDate civil = civilFromDays(days);
    char buffer[64];
    const int hour = static_cast<int>(secondOfDay / 3600);
    const int minute = static_cast<int>(secondOfDay / 60 % 60);
    const int second = static_cast<int>(secondOfDay % 60);
    if (options.fractionalSeconds) {
        std::snprintf(buffer, sizeof buffer, "%04lld-%02d-%02dT%02d:%02d:%02d.%03dZ",
                      static_cast<long long>(civil.year), civil.month, civil.day, hour, minute, second,
                      milliseconds % 1000);
    } else {
        std::snprintf(buffer, sizeof buffer, "%04lld-%02d-%02dT%02d:%02d:%02dZ",
                      static_cast<long long>(civil.year), civil.month, civil.day, hour, minute, second);
    }
    return buffer;
}

Result<Date> parse(std::string_view text, Iso8601Options options) {
    Cursor cursor(text);
    const auto year = cursor.digits(4);
    if (!year || !cursor.literal('-')) return invalid(text, "expected a four-digit year");
    const auto month = cursor.digits(2);
    if (!month || *month < 1 || *month > 12 || !cursor.literal('-')) return invalid(text, "the month is out of range");
    const auto day = cursor.digits(2);
    if (!day || *day < 1 || *day > daysInMonth(*year, *month)) return invalid(text, "the day is out of range");
    if (!cursor.literal('T')) return invalid(text, "expected \"T\" between date and time");
    const auto hour = cursor.digits(2);
    if (!hour || *hour > 23 || !cursor.literal(':')) return invalid(text, "the hour is out of range");
    const auto minute = cursor.digits(2);
    if (!minute || *minute > 59 || !cursor.literal(':')) return invalid(text, "the minute is out of range");
    const auto second = cursor.digits(2);
    if (!second || *second > 59) return invalid(text, "the second is out of range");

    double fraction = 0;
    if (cursor.literal('.')) {
        if (!options.fractionalSeconds) return invalid(text, "fractions of a second are not accepted here");
        double scale = 0.1;
        bool any = false;
        while (auto digit = cursor.digits(1)) {
            fraction += *digit * scale;
            scale /= 10;
            any = true;
        }
        if (!any) return invalid(text, "the fraction has no digits");
    }

    int offsetSeconds = 0;
    if (!cursor.literal('Z')) {
        const auto sign = cursor.peek();
        if (sign != '+' && sign != '-') return invalid(text, "expected \"Z\" or an offset such as +08:00");
        cursor.literal(*sign);
        const auto offsetHours = cursor.digits(2);
        cursor.literal(':');
        const auto offsetMinutes = cursor.digits(2);
        if (!offsetHours || !offsetMinutes || *offsetHours > 23 || *offsetMinutes > 59) {
            return invalid(text, "the offset is out of range");
        }
        offsetSeconds = (*offsetHours * 3600 + *offsetMinutes * 60) * (*sign == '-' ? -1 : 1);
    }
    if (!cursor.atEnd()) return invalid(text, "unexpected text after the time");

    const std::int64_t days = daysFromCivil({*year, *month, *day});
    const std::int64_t seconds = days * 86400 + *hour * 3600 + *minute * 60 + *second - offsetSeconds;
    return Date::fromTimeIntervalSince1970(static_cast<double>(seconds) + fraction);
}

}  // namespace tallowmere::platform::Iso8601
