#include "time/calendar_day_lookup.h"

#include <gtest/gtest.h>

#include "support/scoped_time_zone.h"

namespace tallowmere {
namespace {

using platform::CalendarDay;
using platform::Date;

// Every lookup runs in both zones, at the first and at the last minute of
// the local day, so a lookup that reads the day in the wrong zone shows.
class CalendarDayLookupTest : public ::testing::TestWithParam<const char*> {
protected:
    testing::ScopedTimeZone zone_{GetParam()};
    CalendarDayLookup lookup_;  // made after TZ is set: it reads the zone

    std::vector<Date> instantsOf(CalendarDay day) const {
        const Date start = lookup_.gregorian().startOfDay(day);
        const Date next = lookup_.gregorian().startOfDay(day.addingDays(1));
        return {start.addingTimeInterval(60), next.addingTimeInterval(-60)};
    }
};

TEST_P(CalendarDayLookupTest, UsesTheZoneOfTheEnvironment) {
    EXPECT_EQ(lookup_.gregorian().timeZoneIdentifier(), GetParam());
}

TEST_P(CalendarDayLookupTest, OfficialWorkdayKinds) {
    struct Case {
        CalendarDay day;
        std::optional<CalendarWorkdayKind> kind;
    } cases[] = {
        {{2026, 10, 1}, CalendarWorkdayKind::rest},  {{2026, 10, 7}, CalendarWorkdayKind::rest},
        {{2026, 10, 10}, CalendarWorkdayKind::work}, {{2026, 1, 4}, CalendarWorkdayKind::work},
        {{2026, 2, 23}, CalendarWorkdayKind::rest},  {{2026, 10, 8}, std::nullopt},
        {{2026, 10, 11}, std::nullopt},              {{2025, 10, 1}, std::nullopt},
        {{2027, 10, 1}, std::nullopt},               {{2027, 1, 1}, std::nullopt},
    };
    for (const Case& item : cases) {
        for (Date date : instantsOf(item.day)) {
            SCOPED_TRACE(item.day.isoText() + " at " + std::to_string(date.timeIntervalSince1970()));
            EXPECT_EQ(lookup_.officialWorkdayKind(date), item.kind);
        }
    }
}

TEST_P(CalendarDayLookupTest, FestivalsAndLunarTexts) {
    struct Case {
        CalendarDay day;
        std::optional<std::string> festival;
        std::string lunarText;
    } cases[] = {
        {{2026, 2, 17}, "春节", "正月"},        // lunar 01-01
        {{2026, 3, 3}, "元宵", "十五"},
        {{2026, 9, 25}, "中秋", "十五"},        // lunar 08-15, no solar festival
        {{2026, 6, 19}, "端午", "初五"},
        {{2020, 10, 1}, "国庆节", "十五"},      // also lunar 08-15: the solar name wins
        {{2026, 10, 1}, "国庆节", "廿一"},
        {{2026, 3, 8}, "妇女节", "二十"},
        {{2026, 1, 19}, std::nullopt, "腊月"},
        {{2026, 12, 9}, std::nullopt, "冬月"},
        {{2026, 10, 10}, std::nullopt, "九月"},
        {{2026, 10, 8}, std::nullopt, "廿八"},
        {{2026, 3, 18}, std::nullopt, "三十"},
        {{2025, 7, 25}, std::nullopt, "闰六月"},  // first day of a leap month
        {{2009, 6, 27}, std::nullopt, "初五"},    // leap 05-05: no 端午 in a leap month
        {{2009, 5, 28}, "端午", "初五"},
        {{2023, 3, 23}, std::nullopt, "初二"},    // leap 02-02: no 龙抬头
        {{2033, 12, 22}, std::nullopt, "闰冬月"},
        // Months the table corrects from ICU.
        {{2027, 2, 6}, "春节", "正月"},
        {{2030, 2, 3}, "春节", "正月"},
        {{2018, 11, 8}, std::nullopt, "十月"},
        {{1987, 7, 26}, std::nullopt, "闰六月"},
        {{1987, 8, 24}, std::nullopt, "七月"},
        // Outside the table, ICU answers.
        {{2101, 1, 29}, "春节", "正月"},
        {{1850, 2, 12}, "春节", "正月"},
        {{1900, 12, 21}, std::nullopt, "三十"},
    };
    for (const Case& item : cases) {
        for (Date date : instantsOf(item.day)) {
            SCOPED_TRACE(item.day.isoText() + " at " + std::to_string(date.timeIntervalSince1970()));
            EXPECT_EQ(lookup_.festivalText(date), item.festival);
            EXPECT_EQ(lookup_.lunarText(date), item.lunarText);
        }
    }
}

// Rules the shipped tables never exercise: no leap first month falls in
// 1901-2100, and the parser keeps rest and work days apart.
TEST_P(CalendarDayLookupTest, LeapMonthsCarryNoFestivalAndRestComesFirst) {
    auto tables = CalendarDayTables::shipped();
    tables.lunarFestivals[{6, 1}] = "六月节";
    tables.officialWorkDays2026.insert({2026, 10, 1});
    const CalendarDayLookup lookup(platform::GregorianCalendar::current(), tables);
    struct Case {
        CalendarDay day;
        std::optional<std::string> festival;
        std::string lunarText;
    } cases[] = {
        {{2025, 6, 25}, "六月节", "六月"},
        {{2025, 7, 25}, std::nullopt, "闰六月"},
    };
    for (const Case& item : cases) {
        SCOPED_TRACE(item.day.isoText());
        EXPECT_EQ(lookup.festivalText(item.day), item.festival);
        EXPECT_EQ(lookup.lunarText(item.day), item.lunarText);
    }
    EXPECT_EQ(lookup.officialWorkdayKind(CalendarDay{2026, 10, 1}), CalendarWorkdayKind::rest);
}

INSTANTIATE_TEST_SUITE_P(Zones, CalendarDayLookupTest, ::testing::Values("Asia/Shanghai", "America/New_York"),
                         [](const auto& info) { return std::string(info.param).substr(0, 4) == "Asia" ? "Shanghai" : "NewYork"; });

}  // namespace
}  // namespace tallowmere
