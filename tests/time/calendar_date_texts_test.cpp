#include "time/calendar_date_texts.h"

#include <gtest/gtest.h>

#include "platform/base/iso8601.h"

namespace tallowmere {
namespace {

TEST(CalendarDateTextsTest, TextsOfADayInTheCalendarsZone) {
    struct Case {
        const char* zone;
        const char* instant;
        const char* dateLine;
        const char* monthAndDay;
    } cases[] = {
        {"Asia/Shanghai", "2026-09-30T16:00:00Z", "10月1日 星期四", "10月1日"},
        {"America/New_York", "2026-10-01T03:59:00Z", "9月30日 星期三", "9月30日"},
        {"America/New_York", "2027-01-01T05:00:00Z", "1月1日 星期五", "1月1日"},
    };
    for (const Case& item : cases) {
        SCOPED_TRACE(std::string(item.zone) + " " + item.instant);
        const CalendarDateTexts texts(platform::GregorianCalendar::inTimeZone(item.zone).value());
        const auto date = platform::Iso8601::parse(item.instant).value();
        EXPECT_EQ(texts.dateLine(date), item.dateLine);
        EXPECT_EQ(texts.monthAndDay(date), item.monthAndDay);
    }
    EXPECT_EQ(CalendarDateTexts::monthLabel(2026, 10), "2026年10月");
    EXPECT_EQ(CalendarDateTexts::monthLabel(2027, 1), "2027年1月");
}

}  // namespace
}  // namespace tallowmere
