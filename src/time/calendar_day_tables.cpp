#include "time/calendar_day_tables.h"

#include <algorithm>

#include "platform/base/json.h"
#include "time/shipped_data.h"

namespace tallowmere::resources {
extern const std::string_view calendarTablesJSON;
}

namespace tallowmere {

using platform::CalendarDay;
using platform::Error;
using platform::ErrorCode;
using platform::Result;
using Json = nlohmann::json;

namespace {

Error shapeError(std::string message) { return Error{ErrorCode::wrongShape, "Calendar tables: " + std::move(message)}; }

Result<std::string> nonEmptyText(const Json& value, const std::string& where) {
    if (!value.is_string() || value.get_ref<const std::string&>().empty()) {
        return shapeError(where + " must be a non-empty text");
    }
    return value.get<std::string>();
}

Result<std::set<CalendarDay>> readDays(const Json& value, const std::string& member) {
    if (!value.is_array()) return shapeError(member + " must be an array of dates");
    std::set<CalendarDay> days;
    for (const Json& element : value) {
        const auto day = element.is_string() ? CalendarDay::parse(element.get_ref<const std::string&>()) : std::nullopt;
        if (!day) return shapeError(member + " holds " + element.dump() + ", which is not a yyyy-MM-dd date");
        if (!days.insert(*day).second) return shapeError(member + " lists " + day->isoText() + " twice");
    }
    return days;
}

// "MM-dd" with two digits each; `longestMonth` bounds the day (31 for the
// Gregorian calendar, which also allows 02-29; 30 for the lunar one).
std::optional<MonthDay> parseMonthDay(std::string_view text, int longestMonth) {
    const auto isDigit = [](char character) { return character >= '0' && character <= '9'; };
    if (text.size() != 5 || text[2] != '-' || !isDigit(text[0]) || !isDigit(text[1]) || !isDigit(text[3]) ||
        !isDigit(text[4])) {
        return std::nullopt;
    }
    const MonthDay key{(text[0] - '0') * 10 + (text[1] - '0'), (text[3] - '0') * 10 + (text[4] - '0')};
    if (key.month < 1 || key.month > 12 || key.day < 1) return std::nullopt;
    const int daysInMonth = longestMonth == 31 ? CalendarDay::daysInMonth(2000, key.month) : longestMonth;
    if (key.day > daysInMonth) return std::nullopt;
    return key;
}

Result<std::map<MonthDay, std::string>> readFestivals(const Json& value, const std::string& member, int longestMonth) {
    if (!value.is_object()) return shapeError(member + " must be an object of \"MM-dd\" keys");
    std::map<MonthDay, std::string> festivals;
    for (const auto& [key, name] : value.items()) {
        const auto monthDay = parseMonthDay(key, longestMonth);
        if (!monthDay) return shapeError(member + " has the key \"" + key + "\", which is not a valid MM-dd");
        auto text = nonEmptyText(name, member + " \"" + key + "\"");
        if (!text) return text.error();
        festivals.emplace(*monthDay, std::move(*text));
    }
    return festivals;
}

template <std::size_t count>
Result<std::array<std::string, count>> readNames(const Json& value, const std::string& member) {
    if (!value.is_array() || value.size() != count) {
        return shapeError(member + " must be an array of " + std::to_string(count) + " names");
    }
    std::array<std::string, count> names;
    for (std::size_t index = 0; index < count; ++index) {
        auto text = nonEmptyText(value[index], member + " [" + std::to_string(index) + "]");
        if (!text) return text.error();
        names[index] = std::move(*text);
    }
    return names;
}

Result<std::map<int, std::string>> readHolidayNames(const Json& value) {
    if (!value.is_object()) return shapeError("holidayNamesByMonth must be an object of month numbers");
    std::map<int, std::string> names;
    for (const auto& [key, name] : value.items()) {
        const bool isMonth = (key.size() == 1 && key[0] >= '1' && key[0] <= '9') ||
                             (key.size() == 2 && key[0] == '1' && key[1] >= '0' && key[1] <= '2');
        if (!isMonth) return shapeError("holidayNamesByMonth has the key \"" + key + "\", which is not a month 1...12");
        auto text = nonEmptyText(name, "holidayNamesByMonth \"" + key + "\"");
        if (!text) return text.error();
        names.emplace(std::stoi(key), std::move(*text));
    }
    return names;
}

Result<std::map<std::string, std::string, std::less<>>> readLongNames(const Json& value) {
    if (!value.is_object()) return shapeError("festivalLongNames must be an object of names");
    std::map<std::string, std::string, std::less<>> names;
    for (const auto& [key, name] : value.items()) {
        if (key.empty()) return shapeError("festivalLongNames has an empty short name");
        auto text = nonEmptyText(name, "festivalLongNames \"" + key + "\"");
        if (!text) return text.error();
        names.emplace(key, std::move(*text));
    }
    return names;
}

constexpr std::array<std::string_view, 9> members{
    "officialRestDays2026", "officialWorkDays2026", "solarFestivals",     "lunarFestivals", "lunarMonthNames",
    "lunarDayNames",        "holidayNamesByMonth",  "festivalLongNames", "weekdayHeaders",
};

}  // namespace

Result<CalendarDayTables> CalendarDayTables::parse(std::string_view json) {
    auto document = platform::Json::parse(json);
    if (!document) return Error{ErrorCode::parseFailed, "Calendar tables: " + document.error().message};
    const Json& root = *document;
    if (!root.is_object()) return shapeError("the file must hold one object");
    for (const auto& [key, value] : root.items()) {
        if (std::find(members.begin(), members.end(), key) == members.end()) {
            return shapeError("unknown member \"" + key + "\"");
        }
    }
    for (std::string_view member : members) {
        if (!root.contains(member)) return shapeError("missing member \"" + std::string(member) + "\"");
    }

    CalendarDayTables tables;
    auto rest = readDays(root["officialRestDays2026"], "officialRestDays2026");
    if (!rest) return rest.error();
    auto work = readDays(root["officialWorkDays2026"], "officialWorkDays2026");
    if (!work) return work.error();
    for (const CalendarDay& day : *work) {
        // A day cannot be both off and on; the lookup would silently pick rest.
        if (rest->contains(day)) return shapeError(day.isoText() + " is listed both as a rest day and as a workday");
    }
    tables.officialRestDays2026 = std::move(*rest);
    tables.officialWorkDays2026 = std::move(*work);

    auto solar = readFestivals(root["solarFestivals"], "solarFestivals", 31);
    if (!solar) return solar.error();
    tables.solarFestivals = std::move(*solar);
    auto lunar = readFestivals(root["lunarFestivals"], "lunarFestivals", 30);
    if (!lunar) return lunar.error();
    tables.lunarFestivals = std::move(*lunar);

    auto monthNames = readNames<12>(root["lunarMonthNames"], "lunarMonthNames");
    if (!monthNames) return monthNames.error();
    tables.lunarMonthNames = std::move(*monthNames);
    auto dayNames = readNames<30>(root["lunarDayNames"], "lunarDayNames");
    if (!dayNames) return dayNames.error();
    tables.lunarDayNames = std::move(*dayNames);
    auto headers = readNames<7>(root["weekdayHeaders"], "weekdayHeaders");
    if (!headers) return headers.error();
    tables.weekdayHeaders = std::move(*headers);

    auto holidayNames = readHolidayNames(root["holidayNamesByMonth"]);
    if (!holidayNames) return holidayNames.error();
    tables.holidayNamesByMonth = std::move(*holidayNames);
    auto longNames = readLongNames(root["festivalLongNames"]);
    if (!longNames) return longNames.error();
    tables.festivalLongNames = std::move(*longNames);
    return tables;
}

const CalendarDayTables& CalendarDayTables::shipped() {
    static const CalendarDayTables table = shippedOrStop(parse(resources::calendarTablesJSON));
    return table;
}

std::string CalendarDayTables::longFestivalName(std::string_view name) const {
    const auto found = festivalLongNames.find(name);
    return found == festivalLongNames.end() ? std::string(name) : found->second;
}

}  // namespace tallowmere
