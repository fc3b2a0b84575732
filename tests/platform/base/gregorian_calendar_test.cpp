#include "platform/base/gregorian_calendar.h"

#include <limits>

#include <gtest/gtest.h>

#include "platform/base/date_formatter.h"
#include "platform/base/iso8601.h"
#include "support/scoped_time_zone.h"

namespace tallowmere::platform {
namespace {

using testing::ScopedTimeZone;

Date instant(const char* text) { return Iso8601::parse(text).value(); }

GregorianCalendar calendarIn(const char* zone) { return GregorianCalendar::inTimeZone(zone).value(); }

TEST(GregorianCalendarTest, ReadsTheZoneFromTheEnvironmentEachTimeOneIsMade) {
    {
        ScopedTimeZone zone("Asia/Shanghai");
        EXPECT_EQ(GregorianCalendar::current().timeZoneIdentifier(), "Asia/Shanghai");
    }
    {
        ScopedTimeZone zone("America/New_York");
        const GregorianCalendar calendar = GregorianCalendar::current();
        EXPECT_EQ(calendar.timeZoneIdentifier(), "America/New_York");
        // 23:30 on 1 October in New York is already 2 October in UTC.
        EXPECT_EQ(calendar.day(instant("2026-10-02T03:30:00Z")), (CalendarDay{2026, 10, 1}));
    }
    {
        ScopedTimeZone zone(":Europe/Berlin");  // POSIX allows the leading colon
        EXPECT_EQ(GregorianCalendar::current().timeZoneIdentifier(), "Europe/Berlin");
    }
    {
        // A TZ that names no zone falls back to the host's, never to nothing.
        ScopedTimeZone zone("Not/AZone");
        EXPECT_FALSE(GregorianCalendar::current().timeZoneIdentifier().empty());
    }
    EXPECT_EQ(GregorianCalendar::inTimeZone("Not/AZone").error().code, ErrorCode::notFound);
}

TEST(GregorianCalendarTest, DaysAndStartsOfDaysInTheCalendarsZone) {
    struct Case {
        const char* zone;
        const char* instant;
        CalendarDay day;
        int weekday;
        const char* startOfDay;
    } cases[] = {
        {"Asia/Shanghai", "2026-09-30T16:30:00Z", {2026, 10, 1}, 5, "2026-09-30T16:00:00Z"},
        {"Asia/Shanghai", "2026-09-30T15:59:59Z", {2026, 9, 30}, 4, "2026-09-29T16:00:00Z"},
        {"America/New_York", "2026-10-02T03:30:00Z", {2026, 10, 1}, 5, "2026-10-01T04:00:00Z"},
        // Clocks spring forward at 02:00 and fall back at 02:00: midnight stays.
        {"America/New_York", "2026-03-08T12:00:00Z", {2026, 3, 8}, 1, "2026-03-08T05:00:00Z"},
        {"America/New_York", "2026-11-01T12:00:00Z", {2026, 11, 1}, 1, "2026-11-01T04:00:00Z"},
        // Here the clock jumped from 00:00 to 01:00: the day starts at 01:00.
        {"America/Sao_Paulo", "2018-11-04T12:00:00Z", {2018, 11, 4}, 1, "2018-11-04T03:00:00Z"},
    };
    for (const Case& item : cases) {
        SCOPED_TRACE(std::string(item.zone) + " " + item.instant);
        const GregorianCalendar calendar = calendarIn(item.zone);
        EXPECT_EQ(calendar.day(instant(item.instant)), item.day);
        EXPECT_EQ(calendar.weekday(instant(item.instant)), item.weekday);
        EXPECT_EQ(Iso8601::format(calendar.startOfDay(instant(item.instant))), item.startOfDay);
    }
}

TEST(GregorianCalendarTest, InstantsWithoutADayStayInsideTheCalendar) {
    const GregorianCalendar calendar = calendarIn("Asia/Shanghai");
    for (double seconds : {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                           std::numeric_limits<double>::quiet_NaN(), 1e300}) {
        SCOPED_TRACE(seconds);
        EXPECT_TRUE(calendar.day(Date::fromTimeIntervalSince1970(seconds)).isValid());
    }
}

TEST(GregorianCalendarTest, DayArithmeticCountsCalendarDaysAcrossClockChanges) {
    const GregorianCalendar newYork = calendarIn("America/New_York");
    // 7 March 2026 is 24 hours long, 8 March 23 hours, 1 November 25 hours.
    const Date saturday = newYork.startOfDay(CalendarDay{2026, 3, 7});
    EXPECT_EQ(Iso8601::format(newYork.addingDays(1, saturday).value()), "2026-03-08T05:00:00Z");
    EXPECT_EQ(Iso8601::format(newYork.addingDays(2, saturday).value()), "2026-03-09T04:00:00Z");
    EXPECT_EQ(Iso8601::format(newYork.addingDays(-1, newYork.startOfDay(CalendarDay{2026, 11, 2})).value()),
              "2026-11-01T04:00:00Z");

    struct Case {
        const char* from;
        const char* to;
        std::int64_t days;
    } cases[] = {
        {"2026-03-08T05:00:00Z", "2026-03-09T04:00:00Z", 1},   // 23 hours, one day
        {"2026-11-01T04:00:00Z", "2026-11-02T04:59:00Z", 0},   // 25 hours less a minute, same day
        {"2026-03-08T04:59:00Z", "2026-03-08T05:01:00Z", 1},   // two minutes over midnight
        {"2026-03-09T04:00:00Z", "2026-03-07T05:00:00Z", -2},
        {"2026-01-01T05:00:00Z", "2027-01-01T05:00:00Z", 365},
    };
    for (const Case& item : cases) {
        SCOPED_TRACE(std::string(item.from) + " to " + item.to);
        EXPECT_EQ(newYork.daysBetween(instant(item.from), instant(item.to)), item.days);
    }
}

TEST(GregorianCalendarTest, AddingMonthsKeepsTheDayInsideShorterMonths) {
    const GregorianCalendar shanghai = calendarIn("Asia/Shanghai");
    struct Case {
        CalendarDay from;
        int months;
        CalendarDay to;
    } cases[] = {
        {{2026, 1, 31}, 1, {2026, 2, 28}}, {{2024, 1, 31}, 1, {2024, 2, 29}}, {{2026, 3, 31}, -1, {2026, 2, 28}},
        {{2026, 12, 15}, 1, {2027, 1, 15}}, {{2026, 1, 10}, -1, {2025, 12, 10}},
    };
    for (const Case& item : cases) {
        SCOPED_TRACE(item.from.isoText());
        const auto moved = shanghai.addingMonths(item.months, shanghai.startOfDay(item.from));
        ASSERT_TRUE(moved);
        EXPECT_EQ(shanghai.day(*moved), item.to);
    }
}

TEST(DateFormatterTest, FormatsInTheZoneAndLocaleAsked) {
    struct Case {
        const char* pattern;
        const char* zone;
        const char* locale;
        const char* instant;
        const char* text;
    } cases[] = {
        {"M月d日 EEEE", "Asia/Shanghai", "zh_CN", "2026-09-30T16:30:00Z", "10月1日 星期四"},
        {"M月d日 EEEE", "America/New_York", "zh_CN", "2026-10-01T02:00:00Z", "9月30日 星期三"},
        {"M月d日", "Asia/Shanghai", "en_US_POSIX", "2026-12-31T16:00:00Z", "1月1日"},
    };
    for (const Case& item : cases) {
        SCOPED_TRACE(item.text);
        const auto formatter = DateFormatter::make(item.pattern, item.zone, item.locale);
        ASSERT_TRUE(formatter);
        EXPECT_EQ(formatter->string(instant(item.instant)), item.text);
    }
    EXPECT_EQ(DateFormatter::make("M月d日", "Not/AZone").error().code, ErrorCode::notFound);
}

}  // namespace
}  // namespace tallowmere::platform
