#include "time/lunar_month_table.h"

#include <algorithm>
#include <string>

#include "time/shipped_data.h"

namespace tallowmere::resources {
extern const std::string_view lunarMonthsText;
}

namespace tallowmere {

using platform::CalendarDay;
using platform::Error;
using platform::ErrorCode;
using platform::Result;

namespace {

Error lineError(ErrorCode code, std::size_t lineNumber, const std::string& message) {
    return Error{code, "Lunar month table, line " + std::to_string(lineNumber) + ": " + message};
}

std::optional<LunarMonthStart> parseLine(std::string_view line) {
    if (line.size() < 12 || line[10] != ' ') return std::nullopt;
    const auto day = CalendarDay::parse(line.substr(0, 10));
    if (!day) return std::nullopt;
    std::string_view month = line.substr(11);
    const bool isLeapMonth = month.front() == 'L';
    if (isLeapMonth) month.remove_prefix(1);
    if (month.empty() || month.size() > 2) return std::nullopt;
    int number = 0;
    for (char character : month) {
        if (character < '0' || character > '9') return std::nullopt;
        number = number * 10 + (character - '0');
    }
    if (number < 1 || number > 12) return std::nullopt;
    return LunarMonthStart{*day, number, isLeapMonth};
}

// A leap month repeats the number of the month before it; an ordinary month
// follows the one before it.
bool follows(const LunarMonthStart& previous, const LunarMonthStart& next) {
    if (next.isLeapMonth) return !previous.isLeapMonth && next.month == previous.month;
    return next.month == previous.month % 12 + 1;
}

}  // namespace

Result<LunarMonthTable> LunarMonthTable::parse(std::string_view text) {
    LunarMonthTable table;
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;

        const auto month = parseLine(line);
        if (!month) return lineError(ErrorCode::parseFailed, lineNumber, "expected \"yyyy-MM-dd M\" or \"yyyy-MM-dd LM\"");
        if (!table.months_.empty()) {
            const LunarMonthStart& previous = table.months_.back();
            const std::int64_t length = month->firstDay.dayNumber() - previous.firstDay.dayNumber();
            if (length != 29 && length != 30) {
                return lineError(ErrorCode::wrongShape, lineNumber,
                                 "the month before is " + std::to_string(length) + " days long");
            }
            if (!follows(previous, *month)) {
                return lineError(ErrorCode::wrongShape, lineNumber, "this month cannot follow the month before");
            }
        }
        table.months_.push_back(*month);
        table.startDayNumbers_.push_back(month->firstDay.dayNumber());
    }
    if (table.months_.size() < 2) {
        return Error{ErrorCode::wrongShape, "Lunar month table: it needs at least one month and the start of the next"};
    }
    return table;
}

const LunarMonthTable& LunarMonthTable::shipped() {
    static const LunarMonthTable table = shippedOrStop(parse(resources::lunarMonthsText));
    return table;
}

std::optional<platform::LunarDate> LunarMonthTable::lunarDate(CalendarDay day) const {
    const std::int64_t number = day.dayNumber();
    if (startDayNumbers_.empty() || number < startDayNumbers_.front() || number >= startDayNumbers_.back()) {
        return std::nullopt;
    }
    const auto next = std::upper_bound(startDayNumbers_.begin(), startDayNumbers_.end(), number);
    const auto index = static_cast<std::size_t>(next - startDayNumbers_.begin()) - 1;
    const LunarMonthStart& month = months_[index];
    return platform::LunarDate{month.month, static_cast<int>(number - startDayNumbers_[index]) + 1, month.isLeapMonth};
}

}  // namespace tallowmere
