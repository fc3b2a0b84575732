// Prints the lunar month table (resources/calendar/lunar_months.txt) from
// ICU's Chinese calendar, with the corrections below applied. Built and run
// by scripts/generate-lunar-table.
//
// ICU computes the moon and the sun with simplified formulas, so a new moon
// or a major solar term a few minutes from midnight (China Standard Time)
// can land on the wrong day. Each correction names the month as ICU gives
// it, what it should be and why; the generator stops if ICU no longer gives
// what a correction expects, so a newer ICU gets looked at again.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <unicode/calendar.h>
#include <unicode/timezone.h>
#include <unicode/uversion.h>

namespace {

struct Day {
    int year, month, day;
};

long dayNumber(Day date) {
    const long y = date.year - (date.month <= 2 ? 1 : 0);
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yearOfEra = y - era * 400;
    const long dayOfYear = (153 * (date.month > 2 ? date.month - 3 : date.month + 9) + 2) / 5 + date.day - 1;
    return era * 146097 + yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear - 719468;
}

Day dayOf(long number) {
    number += 719468;
    const long era = (number >= 0 ? number : number - 146096) / 146097;
    const long dayOfEra = number - era * 146097;
    const long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long shifted = (5 * dayOfYear + 2) / 153;
    const int month = static_cast<int>(shifted < 10 ? shifted + 3 : shifted - 9);
    return {static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0)), month,
            static_cast<int>(dayOfYear - (153 * shifted + 2) / 5 + 1)};
}

std::string text(long number) {
    const Day date = dayOf(number);
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", date.year, date.month, date.day);
    return buffer;
}

struct MonthStart {
    long day;
    int month;
    bool isLeapMonth;
};

// A month that ICU starts one day off.
struct StartCorrection {
    Day icuStart;
    Day start;
    const char* reason;
};

const StartCorrection startCorrections[] = {
    {{1954, 2, 4}, {1954, 2, 3}, "new moon at 23:55 CST on 1954-02-03"},
    {{1955, 2, 23}, {1955, 2, 22}, "new moon at 23:54 CST on 1955-02-22"},
    {{1999, 1, 18}, {1999, 1, 17}, "new moon at 23:46 CST on 1999-01-17"},
    {{2012, 8, 18}, {2012, 8, 17}, "new moon at 23:54 CST on 2012-08-17"},
    {{2018, 11, 7}, {2018, 11, 8}, "new moon at 00:02 CST on 2018-11-08"},
    {{2027, 2, 7}, {2027, 2, 6}, "new moon at 23:56 CST on 2027-02-06 (Spring Festival)"},
    {{2030, 2, 2}, {2030, 2, 3}, "new moon at 00:07 CST on 2030-02-03 (Spring Festival)"},
    {{2070, 3, 13}, {2070, 3, 12}, "new moon at 23:51 CST on 2070-03-12"},
};

// A month that ICU numbers wrongly: the month starting `start` is `month`.
struct NumberCorrection {
    Day start;
    int icuMonth;
    bool icuLeap;
    int month;
    bool isLeapMonth;
    const char* reason;
};

const NumberCorrection numberCorrections[] = {
    {{1987, 7, 26}, 7, false, 6, true,
     "the major solar term at 150 degrees falls at about 00:10 CST on 1987-08-24, so the month 07-26...08-23 has none "
     "and is the leap sixth month; ICU puts the term on 08-23 and the leap after the seventh"},
    {{1987, 8, 24}, 7, true, 7, false, "follows from the leap sixth month above"},
};

[[noreturn]] void fail(const std::string& message) {
    std::fprintf(stderr, "generate-lunar-table: %s\n", message.c_str());
    std::exit(1);
}

}  // namespace

int main() {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Calendar> chinese(
        icu::Calendar::createInstance(icu::TimeZone::getGMT()->clone(), icu::Locale("zh_CN@calendar=chinese"), status));
    if (U_FAILURE(status)) fail("ICU has no Chinese calendar");

    // From the month holding 1901-01-01 to the start of the month after the
    // one holding 2100-12-31 (that last line only closes the table).
    const long first = dayNumber({1900, 11, 1});
    const long last = dayNumber({2101, 3, 1});
    const long coveredFrom = dayNumber({1901, 1, 1});
    const long coveredTo = dayNumber({2100, 12, 31});
    std::vector<MonthStart> months;
    for (long day = first; day <= last; ++day) {
        chinese->setTime((static_cast<double>(day) + 0.5) * 86400000.0, status);
        const int dayOfMonth = chinese->get(UCAL_DATE, status);
        const int month = chinese->get(UCAL_MONTH, status) + 1;
        const bool isLeapMonth = chinese->get(UCAL_IS_LEAP_MONTH, status) != 0;
        if (U_FAILURE(status)) fail("ICU failed on " + text(day));
        if (dayOfMonth == 1) months.push_back({day, month, isLeapMonth});
    }

    for (const StartCorrection& correction : startCorrections) {
        bool applied = false;
        for (MonthStart& month : months) {
            if (month.day != dayNumber(correction.icuStart)) continue;
            month.day = dayNumber(correction.start);
            applied = true;
        }
        if (!applied) fail("ICU no longer starts a month on " + text(dayNumber(correction.icuStart)));
    }
    for (const NumberCorrection& correction : numberCorrections) {
        bool applied = false;
        for (MonthStart& month : months) {
            if (month.day != dayNumber(correction.start)) continue;
            if (month.month != correction.icuMonth || month.isLeapMonth != correction.icuLeap) break;
            month.month = correction.month;
            month.isLeapMonth = correction.isLeapMonth;
            applied = true;
        }
        if (!applied) fail("ICU no longer numbers the month of " + text(dayNumber(correction.start)) + " as expected");
    }

    // Keep the month holding the first covered day and end at the first
    // start past the last covered day.
    std::size_t begin = 0;
    while (begin + 1 < months.size() && months[begin + 1].day <= coveredFrom) ++begin;
    std::size_t end = begin;
    while (end < months.size() && months[end].day <= coveredTo) ++end;
    if (end == months.size()) fail("ICU's months end before 2100");

    std::printf("# The first day of every lunar month holding a day of 1901-2100, and the\n"
                "# start of the month after: \"yyyy-MM-dd M\" (the Gregorian day in China\n"
                "# Standard Time, then the month; \"L\" before the number of a leap month).\n"
                "# Generated by scripts/generate-lunar-table from ICU %s, corrected where ICU\n"
                "# puts a new moon or solar term near midnight on the wrong day:\n",
                U_ICU_VERSION);
    for (const StartCorrection& correction : startCorrections) {
        std::printf("#   %s, not %s: %s\n", text(dayNumber(correction.start)).c_str(),
                    text(dayNumber(correction.icuStart)).c_str(), correction.reason);
    }
    for (const NumberCorrection& correction : numberCorrections) {
        std::printf("#   %s is %s%d, not %s%d: %s\n", text(dayNumber(correction.start)).c_str(),
                    correction.isLeapMonth ? "L" : "", correction.month, correction.icuLeap ? "L" : "",
                    correction.icuMonth, correction.reason);
    }
    for (std::size_t index = begin; index <= end; ++index) {
        std::printf("%s %s%d\n", text(months[index].day).c_str(), months[index].isLeapMonth ? "L" : "",
                    months[index].month);
    }
    return 0;
}
