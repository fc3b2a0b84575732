#include "time/calendar_day_tables.h"

#include <algorithm>
#include <functional>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "time/calendar_day_lookup.h"

namespace tallowmere::resources {
extern const std::string_view calendarTablesJSON;
}

namespace tallowmere {
namespace {

using platform::CalendarDay;
using platform::ErrorCode;

TEST(CalendarDayTablesTest, ShippedArrangementIsCompleteAndConsistent) {
    const auto tables = CalendarDayTables::parse(resources::calendarTablesJSON);
    ASSERT_TRUE(tables) << tables.error().message;
    EXPECT_EQ(tables->officialRestDays2026.size(), 33u);
    EXPECT_EQ(tables->officialWorkDays2026.size(), 6u);
    for (const CalendarDay& day : tables->officialWorkDays2026) {
        SCOPED_TRACE(day.isoText());
        EXPECT_FALSE(tables->officialRestDays2026.contains(day));
        EXPECT_EQ(day.year, 2026);
        // A make-up workday only makes sense on a weekend.
        EXPECT_TRUE(day.weekday() == 1 || day.weekday() == 7);
    }
    for (const CalendarDay& day : tables->officialRestDays2026) EXPECT_EQ(day.year, 2026) << day.isoText();
    EXPECT_EQ(tables->solarFestivals.size(), 11u);
    EXPECT_EQ(tables->lunarFestivals.size(), 8u);
    EXPECT_EQ(tables->holidayNamesByMonth.size(), 7u);
    EXPECT_EQ(tables->festivalLongNames.size(), 5u);
    EXPECT_EQ(tables->lunarMonthNames[10], "冬月");
    EXPECT_EQ(tables->lunarDayNames[20], "廿一");
    EXPECT_EQ(tables->weekdayHeaders[6], "日");
}

// Each run of consecutive rest days is a holiday named by the month of its
// first day; the festival it is for must fall inside it.
TEST(CalendarDayTablesTest, EachHolidayBlockHoldsItsFestival) {
    const CalendarDayLookup lookup(platform::GregorianCalendar::inTimeZone("Asia/Shanghai").value());
    const auto& rest = lookup.tables().officialRestDays2026;
    std::vector<std::vector<CalendarDay>> blocks;
    for (const CalendarDay& day : rest) {
        if (blocks.empty() || blocks.back().back().addingDays(1) != day) blocks.emplace_back();
        blocks.back().push_back(day);
    }
    ASSERT_EQ(blocks.size(), 7u);

    struct Case {
        const char* holiday;
        bool isLunar;
        MonthDay festival;
    } cases[] = {
        {"元旦", false, {1, 1}},  {"春节", true, {1, 1}},  {"劳动节", false, {5, 1}},
        {"端午节", true, {5, 5}}, {"中秋节", true, {8, 15}}, {"国庆节", false, {10, 1}},
    };
    for (const Case& item : cases) {
        SCOPED_TRACE(item.holiday);
        const auto block = std::find_if(blocks.begin(), blocks.end(), [&](const auto& days) {
            return lookup.tables().holidayNamesByMonth.at(days.front().month) == item.holiday;
        });
        ASSERT_NE(block, blocks.end());
        const bool holds = std::any_of(block->begin(), block->end(), [&](const CalendarDay& day) {
            if (!item.isLunar) return MonthDay{day.month, day.day} == item.festival;
            const auto lunar = lookup.lunarDate(day);
            return lunar && !lunar->isLeapMonth && MonthDay{lunar->month, lunar->day} == item.festival;
        });
        EXPECT_TRUE(holds);
    }
}

TEST(CalendarDayTablesTest, RejectsFilesThatWouldShowAWrongOrEmptyCalendar) {
    const nlohmann::json shipped = nlohmann::json::parse(resources::calendarTablesJSON);
    struct Case {
        const char* what;
        std::function<void(nlohmann::json&)> change;
        ErrorCode code;
    } cases[] = {
        {"a day both off and on", [](auto& json) { json["officialWorkDays2026"].push_back("2026-10-07"); },
         ErrorCode::wrongShape},
        {"a day listed twice", [](auto& json) { json["officialRestDays2026"].push_back("2026-10-07"); },
         ErrorCode::wrongShape},
        {"no such day", [](auto& json) { json["officialRestDays2026"][0] = "2026-02-29"; }, ErrorCode::wrongShape},
        {"a date that is no text", [](auto& json) { json["officialWorkDays2026"][0] = 20260104; }, ErrorCode::wrongShape},
        {"a missing table", [](auto& json) { json.erase("lunarFestivals"); }, ErrorCode::wrongShape},
        {"a misspelt table", [](auto& json) { json["lunarFestival"] = json["lunarFestivals"]; }, ErrorCode::wrongShape},
        {"eleven month names", [](auto& json) { json["lunarMonthNames"].erase(11); }, ErrorCode::wrongShape},
        {"an empty day name", [](auto& json) { json["lunarDayNames"][3] = ""; }, ErrorCode::wrongShape},
        {"six weekday headers", [](auto& json) { json["weekdayHeaders"].erase(0); }, ErrorCode::wrongShape},
        {"a solar key past the month", [](auto& json) { json["solarFestivals"]["04-31"] = "x"; }, ErrorCode::wrongShape},
        {"a lunar day 31", [](auto& json) { json["lunarFestivals"]["01-31"] = "x"; }, ErrorCode::wrongShape},
        {"a key without zeros", [](auto& json) { json["solarFestivals"]["1-1"] = "x"; }, ErrorCode::wrongShape},
        {"month 13", [](auto& json) { json["holidayNamesByMonth"]["13"] = "x"; }, ErrorCode::wrongShape},
        {"month 0", [](auto& json) { json["holidayNamesByMonth"]["0"] = "x"; }, ErrorCode::wrongShape},
        {"a long name that is no text", [](auto& json) { json["festivalLongNames"]["七夕"] = 7; }, ErrorCode::wrongShape},
        {"not an object", [](auto& json) { json = nlohmann::json::array(); }, ErrorCode::wrongShape},
    };
    for (const Case& item : cases) {
        SCOPED_TRACE(item.what);
        nlohmann::json changed = shipped;
        item.change(changed);
        const auto parsed = CalendarDayTables::parse(changed.dump());
        ASSERT_FALSE(parsed);
        EXPECT_EQ(parsed.error().code, item.code);
    }
    for (const char* text : {"", "{", "{\"officialRestDays2026\": [}", "\xff"}) {
        SCOPED_TRACE(text);
        const auto parsed = CalendarDayTables::parse(text);
        ASSERT_FALSE(parsed);
        EXPECT_EQ(parsed.error().code, ErrorCode::parseFailed);
    }
    ASSERT_TRUE(CalendarDayTables::parse(shipped.dump()));  // the changes, not the round trip, broke it
}

}  // namespace
}  // namespace tallowmere
