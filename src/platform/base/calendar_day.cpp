#include "platform/base/calendar_day.h"

#include <cstdio>

namespace tallowmere::platform {

namespace {

// Days are counted in 400-year eras of 146097 days, with years starting on
// 1 March so the leap day falls at the end of a year.
constexpr std::int64_t daysPerEra = 146097;
constexpr std::int64_t daysFromYearZeroToEpoch = 719468;

std::int64_t floorDivide(std::int64_t value, std::int64_t divisor) {
    return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

std::optional<int> digits(std::string_view text) {
    int value = 0;
    for (char character : text) {
        if (character < '0' || character > '9') return std::nullopt;
        value = value * 10 + (character - '0');
    }
    return value;
}

}  // namespace

CalendarDay CalendarDay::fromDayNumber(std::int64_t dayNumber) {
    const std::int64_t shifted = dayNumber + daysFromYearZeroToEpoch;
    const std::int64_t era = floorDivide(shifted, daysPerEra);
    const std::int64_t dayOfEra = shifted - era * daysPerEra;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    const int month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    return {static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0)), month,
            static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1)};
}

std::int64_t CalendarDay::dayNumber() const {
    const std::int64_t shiftedYear = static_cast<std::int64_t>(year) - (month <= 2 ? 1 : 0);
    const std::int64_t era = floorDivide(shiftedYear, 400);
    const std::int64_t yearOfEra = shiftedYear - era * 400;
    const std::int64_t shiftedMonth = month > 2 ? month - 3 : month + 9;
    const std::int64_t dayOfYear = (153 * shiftedMonth + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * daysPerEra + dayOfEra - daysFromYearZeroToEpoch;
}

std::optional<CalendarDay> CalendarDay::parse(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    const auto year = digits(text.substr(0, 4));
    const auto month = digits(text.substr(5, 2));
    const auto day = digits(text.substr(8, 2));
    if (!year || !month || !day) return std::nullopt;
    const CalendarDay result{*year, *month, *day};
    if (!result.isValid()) return std::nullopt;
    return result;
}

std::string CalendarDay::isoText() const {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
    return text;
}

bool CalendarDay::isValid() const { return day >= 1 && day <= daysInMonth(year, month); }

int CalendarDay::weekday() const {
    // 1970-01-01 was a Thursday (5).
    const std::int64_t sinceSunday = dayNumber() + 4;
    return static_cast<int>(sinceSunday - floorDivide(sinceSunday, 7) * 7) + 1;
}

bool CalendarDay::isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int CalendarDay::daysInMonth(int year, int month) {
    static constexpr int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && isLeapYear(year) ? 29 : lengths[month - 1];
}

}  // namespace tallowmere::platform
