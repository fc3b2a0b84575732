#include "time/lunar_month_table.h"

#include <cmath>
#include <map>
#include <numbers>
#include <set>

#include <gtest/gtest.h>

#include "platform/base/chinese_calendar.h"

namespace tallowmere::resources {
extern const std::string_view lunarMonthsText;
}

namespace tallowmere {
namespace {

using platform::CalendarDay;
using platform::ErrorCode;

// ---- An independent new-moon computation -------------------------------
// The mean new moon with the principal periodic terms of the lunar theory
// (the classical series for the moon's phases), good to well under a
// minute of dynamical time, then ΔT from the usual polynomial fits to turn
// it into universal time. Days are counted in China Standard Time (UTC+8).

double radians(double degrees) { return degrees * std::numbers::pi / 180.0; }

// Terrestrial minus universal time in seconds, for a decimal year 1900-2150.
double deltaT(double year) {
    double t = 0;
    if (year < 1920) {
        t = year - 1900;
        return -2.79 + 1.494119 * t - 0.0598939 * t * t + 0.0061966 * t * t * t - 0.000197 * t * t * t * t;
    }
    if (year < 1941) {
        t = year - 1920;
        return 21.20 + 0.84493 * t - 0.076100 * t * t + 0.0020936 * t * t * t;
    }
    if (year < 1961) {
        t = year - 1950;
        return 29.07 + 0.407 * t - t * t / 233 + t * t * t / 2547;
    }
    if (year < 1986) {
        t = year - 1975;
        return 45.45 + 1.067 * t - t * t / 260 - t * t * t / 718;
    }
    if (year < 2005) {
        t = year - 2000;
        return 63.86 + 0.3345 * t - 0.060374 * t * t + 0.0017275 * std::pow(t, 3) + 0.000651814 * std::pow(t, 4) +
               0.00002373599 * std::pow(t, 5);
    }
    if (year < 2050) {
        t = year - 2000;
        return 62.92 + 0.32217 * t + 0.005589 * t * t;
    }
    t = (year - 1820) / 100;
    return -20 + 32 * t * t - 0.5628 * (2150 - year);
}

// Julian ephemeris day of new moon number k (k = 0 near 2000-01-06).
double newMoonEphemerisDay(double k) {
    const double T = k / 1236.85;
    const double T2 = T * T, T3 = T2 * T, T4 = T3 * T;
    const double mean = 2451550.09766 + 29.530588861 * k + 0.00015437 * T2 - 0.000000150 * T3 + 0.00000000073 * T4;
    const double E = 1 - 0.002516 * T - 0.0000074 * T2;
    const double M = radians(2.5534 + 29.10535670 * k - 0.0000014 * T2 - 0.00000011 * T3);
    const double Mp = radians(201.5643 + 385.81693528 * k + 0.0107582 * T2 + 0.00001238 * T3 - 0.000000058 * T4);
    const double F = radians(160.7108 + 390.67050284 * k - 0.0016118 * T2 - 0.00000227 * T3 + 0.000000011 * T4);
    const double Omega = radians(124.7746 - 1.56375588 * k + 0.0020672 * T2 + 0.00000215 * T3);
    const double periodic =
        -0.40720 * std::sin(Mp) + 0.17241 * E * std::sin(M) + 0.01608 * std::sin(2 * Mp) + 0.01039 * std::sin(2 * F) +
        0.00739 * E * std::sin(Mp - M) - 0.00514 * E * std::sin(Mp + M) + 0.00208 * E * E * std::sin(2 * M) -
        0.00111 * std::sin(Mp - 2 * F) - 0.00057 * std::sin(Mp + 2 * F) + 0.00056 * E * std::sin(2 * Mp + M) -
        0.00042 * std::sin(3 * Mp) + 0.00042 * E * std::sin(M + 2 * F) + 0.00038 * E * std::sin(M - 2 * F) -
        0.00024 * E * std::sin(2 * Mp - M) - 0.00017 * std::sin(Omega) - 0.00007 * std::sin(Mp + 2 * M) +
        0.00004 * std::sin(2 * Mp - 2 * F) + 0.00004 * std::sin(3 * M) + 0.00003 * std::sin(Mp + M - 2 * F) +
        0.00003 * std::sin(2 * Mp + 2 * F) - 0.00003 * std::sin(Mp + M + 2 * F) + 0.00003 * std::sin(Mp - M + 2 * F) -
        0.00002 * std::sin(Mp - M - 2 * F) - 0.00002 * std::sin(3 * Mp + M) + 0.00002 * std::sin(4 * Mp);
    // The planetary arguments.
    const double arguments[14] = {
        299.77 + 0.107408 * k - 0.009173 * T2, 251.88 + 0.016321 * k, 251.83 + 26.651886 * k,
        349.42 + 36.412478 * k,                84.66 + 18.206239 * k, 141.74 + 53.303771 * k,
        207.14 + 2.453732 * k,                 154.84 + 7.306860 * k, 34.52 + 27.261239 * k,
        207.19 + 0.121824 * k,                 291.34 + 1.844379 * k, 161.72 + 24.198154 * k,
        239.56 + 25.513099 * k,                331.55 + 3.592518 * k,
    };
    const double weights[14] = {325, 165, 164, 126, 110, 62, 60, 56, 47, 42, 40, 37, 35, 23};
    double planetary = 0;
    for (int index = 0; index < 14; ++index) planetary += weights[index] * 1e-6 * std::sin(radians(arguments[index]));
    return mean + periodic + planetary;
}

// The new moon nearest a day, as days since 1970-01-01 00:00 China Standard Time.
double newMoonNear(CalendarDay day) {
    const double year = day.year + (day.month - 0.5) / 12.0;
    const double k = std::round((year - 2000.0) * 12.3685);
    double best = 0;
    for (double candidate = k - 2; candidate <= k + 2; ++candidate) {
        const double universal = newMoonEphemerisDay(candidate) - deltaT(year) / 86400.0;
        const double local = universal + 8.0 / 24.0 - 2440587.5;
        if (candidate == k - 2 || std::fabs(local - day.dayNumber()) < std::fabs(best - day.dayNumber())) best = local;
    }
    return best;
}

// ---- The tests ----------------------------------------------------------

struct StartCorrection {
    CalendarDay icuStart;
    CalendarDay start;
};
// Months ICU starts a day off: the new moon is minutes from midnight.
const StartCorrection startCorrections[] = {
    {{1954, 2, 4}, {1954, 2, 3}},   {{1955, 2, 23}, {1955, 2, 22}}, {{1999, 1, 18}, {1999, 1, 17}},
    {{2012, 8, 18}, {2012, 8, 17}}, {{2018, 11, 7}, {2018, 11, 8}}, {{2027, 2, 7}, {2027, 2, 6}},
    {{2030, 2, 2}, {2030, 2, 3}},   {{2070, 3, 13}, {2070, 3, 12}},
};
// 1987 has its leap month after the sixth, ICU puts it after the seventh.
const LunarMonthStart numberCorrections[] = {
    {{1987, 7, 26}, 6, true},
    {{1987, 8, 24}, 7, false},
};

TEST(LunarMonthTableTest, ShippedTableCovers1901To2100) {
    const auto table = LunarMonthTable::parse(resources::lunarMonthsText);
    ASSERT_TRUE(table) << table.error().message;
    EXPECT_LE(table->firstDay(), (CalendarDay{1901, 1, 1}));
    EXPECT_GT(table->endDay(), (CalendarDay{2100, 12, 31}));
}

TEST(LunarMonthTableTest, EqualsIcuExceptAtTheListedCorrections) {
    const LunarMonthTable& table = LunarMonthTable::shipped();
    const platform::ChineseCalendar chinese;
    std::vector<LunarMonthStart> expected;
    for (std::int64_t number = table.firstDay().dayNumber(); number <= table.endDay().dayNumber(); ++number) {
        const auto lunar = chinese.lunarDate(CalendarDay::fromDayNumber(number));
        ASSERT_TRUE(lunar);
        if (lunar->day == 1) expected.push_back({CalendarDay::fromDayNumber(number), lunar->month, lunar->isLeapMonth});
    }
    for (const StartCorrection& correction : startCorrections) {
        const auto month = std::find_if(expected.begin(), expected.end(),
                                        [&](const auto& start) { return start.firstDay == correction.icuStart; });
        ASSERT_NE(month, expected.end()) << "ICU now agrees at " << correction.start.isoText();
        month->firstDay = correction.start;
    }
    for (const LunarMonthStart& correction : numberCorrections) {
        const auto month = std::find_if(expected.begin(), expected.end(),
                                        [&](const auto& start) { return start.firstDay == correction.firstDay; });
        ASSERT_NE(month, expected.end());
        ASSERT_NE(*month, correction) << "ICU now agrees at " << correction.firstDay.isoText();
        *month = correction;
    }
    ASSERT_EQ(table.months().size(), expected.size());
    for (std::size_t index = 0; index < expected.size(); ++index) {
        ASSERT_EQ(table.months()[index], expected[index]) << table.months()[index].firstDay.isoText();
    }
}

TEST(LunarMonthTableTest, MonthsBeginOnTheDayOfTheNewMoonInChina) {
    // New moons closer to midnight than this computation can tell apart,
    // with the day the table starts the month on. Past today ΔT is a
    // forecast, uncertain by a minute or more by the end of the century;
    // where the day hangs on that, ICU's day is kept.
    struct NearMidnight {
        CalendarDay newMoon;  // the day this computation puts it on
        CalendarDay start;
    } nearMidnight[] = {
        {{2018, 11, 8}, {2018, 11, 8}},  // 00:02, observed ΔT: after midnight (ICU is off)
        {{2057, 9, 28}, {2057, 9, 29}},  // 23:59:58 with the fit's ΔT of 107 s; a smaller ΔT puts it after midnight
        {{2089, 9, 4}, {2089, 9, 4}},    // 23:57:36
        {{2097, 8, 7}, {2097, 8, 7}},    // 23:59:40
    };
    constexpr double margin = 3.0 / 1440.0;  // three minutes, about three times the error of the computation
    std::set<CalendarDay> seen;
    for (const LunarMonthStart& month : LunarMonthTable::shipped().months()) {
        // Before 1929 the calendar was reckoned in Beijing's local time, not UTC+8.
        if (month.firstDay < CalendarDay{1929, 1, 1} || month.firstDay > CalendarDay{2100, 12, 31}) continue;
        SCOPED_TRACE(month.firstDay.isoText());
        const double newMoon = newMoonNear(month.firstDay);
        const double fromMidnight = newMoon - std::round(newMoon);
        if (std::fabs(fromMidnight) < margin) {
            const CalendarDay day = CalendarDay::fromDayNumber(static_cast<std::int64_t>(std::floor(newMoon)));
            const auto listed = std::find_if(std::begin(nearMidnight), std::end(nearMidnight),
                                             [&](const NearMidnight& entry) { return entry.newMoon == day; });
            ASSERT_NE(listed, std::end(nearMidnight)) << "unlisted new moon near midnight on " << day.isoText();
            EXPECT_EQ(month.firstDay, listed->start);
            seen.insert(listed->newMoon);
            continue;
        }
        EXPECT_EQ(month.firstDay.dayNumber(), static_cast<std::int64_t>(std::floor(newMoon)));
    }
    EXPECT_EQ(seen.size(), std::size(nearMidnight));
}

TEST(LunarMonthTableTest, LooksUpDaysInsideTheTableOnly) {
    const auto table = LunarMonthTable::parse("# two months\n2025-06-25 6\n2025-07-25 L6\n2025-08-23 7\n").value();
    struct Case {
        CalendarDay day;
        std::optional<platform::LunarDate> lunar;
    } cases[] = {
        {{2025, 6, 24}, std::nullopt},
        {{2025, 6, 25}, platform::LunarDate{6, 1, false}},
        {{2025, 7, 24}, platform::LunarDate{6, 30, false}},
        {{2025, 7, 25}, platform::LunarDate{6, 1, true}},
        {{2025, 8, 22}, platform::LunarDate{6, 29, true}},
        {{2025, 8, 23}, std::nullopt},  // the closing line only ends the month before
    };
    for (const Case& item : cases) {
        SCOPED_TRACE(item.day.isoText());
        EXPECT_EQ(table.lunarDate(item.day), item.lunar);
    }
}

TEST(LunarMonthTableTest, RejectsMalformedOrInconsistentTables) {
    struct Case {
        const char* text;
        ErrorCode code;
    } cases[] = {
        {"2025-06-25 6\n2025-07-25 7\n2025-08-23 13\n", ErrorCode::parseFailed},
        {"2025-06-25 6\n2025-07-25 L\n", ErrorCode::parseFailed},
        {"2025-06-25 6\n2025-07-25  7\n", ErrorCode::parseFailed},
        {"2025-06-25 6\n2025-07-25 7 \n", ErrorCode::parseFailed},
        {"2025-06-25 6\n2025-02-30 7\n", ErrorCode::parseFailed},
        {"2025-06-25 6\n2025/07/25 7\n", ErrorCode::parseFailed},
        {"2025-06-25 6\n2025-07-26 7\n", ErrorCode::wrongShape},   // 31 days
        {"2025-06-25 6\n2025-07-23 7\n", ErrorCode::wrongShape},   // 28 days
        {"2025-07-25 7\n2025-06-25 8\n", ErrorCode::wrongShape},   // backwards
        {"2025-06-25 6\n2025-07-25 8\n", ErrorCode::wrongShape},   // a month skipped
        {"2025-06-25 6\n2025-07-25 L7\n", ErrorCode::wrongShape},  // a leap month of another number
        {"2025-06-25 L6\n2025-07-25 L6\n", ErrorCode::wrongShape}, // two leap months running
        {"2025-06-25 12\n2025-07-25 13\n", ErrorCode::parseFailed},
        {"2025-06-25 6\n", ErrorCode::wrongShape},
        {"# nothing\n\n", ErrorCode::wrongShape},
    };
    for (const Case& item : cases) {
        SCOPED_TRACE(item.text);
        const auto parsed = LunarMonthTable::parse(item.text);
        ASSERT_FALSE(parsed);
        EXPECT_EQ(parsed.error().code, item.code);
    }
    EXPECT_TRUE(LunarMonthTable::parse("2025-12-20 12\r\n2026-01-19 1\r\n"));  // twelfth to first, CRLF lines
}

}  // namespace
}  // namespace tallowmere
