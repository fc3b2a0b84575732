#include "time/holiday_reminder.h"

#include <gtest/gtest.h>

#include "platform/gfx/font.h"
#include "support/scoped_time_zone.h"
#include "time/calendar_brand_artwork.h"

namespace tallowmere {
namespace {

using platform::CalendarDay;
using platform::Color;
using platform::Date;
using platform::Font;
using platform::FontWeight;

// Each "today" is tried at the first and the last minute of the local day in
// both zones: the block must speak of that day, whatever the hour.
class HolidayReminderTest : public ::testing::TestWithParam<const char*> {
protected:
    testing::ScopedTimeZone zone_{GetParam()};
    CalendarDayLookup lookup_;

    std::vector<HolidayReminder> remindersOn(CalendarDay today) const {
        const Date start = lookup_.gregorian().startOfDay(today);
        const Date next = lookup_.gregorian().startOfDay(today.addingDays(1));
        return {HolidayReminder::compute(start.addingTimeInterval(60), lookup_),
                HolidayReminder::compute(next.addingTimeInterval(-60), lookup_)};
    }
};

TEST_P(HolidayReminderTest, TextsForToday) {
    struct Case {
        CalendarDay today;
        const char* dateLine;
        const char* headline;
        const char* countdown;
        const char* festivalLine;
        const char* festivalToolTip;
    } cases[] = {
        {{2026, 9, 30}, "9月30日 星期三", "下一站假期 · 国庆节", "再过  1 天，就放假", "别忘啦 · 明天是国庆节",
         "10月1日  国庆节\n10月18日  重阳节"},
        {{2026, 10, 3}, "10月3日 星期六", "假期进行中 · 国庆节", "正在放假", "日子有盼头 · 15天后是重阳节",
         "10月18日  重阳节"},
        // 25 September opens the mid-autumn holiday although 1 October is in
        // the window too; the make-up workday of 20 September is passed over.
        {{2026, 9, 24}, "9月24日 星期四", "下一站假期 · 中秋节", "再过  1 天，就放假", "别忘啦 · 明天是中秋节",
         "9月25日  中秋节\n10月1日  国庆节\n10月18日  重阳节"},
        {{2026, 9, 13}, "9月13日 星期日", "下一站假期 · 中秋节", "再过  12 天，就放假",
         "日子有盼头 · 12天后是中秋节", "9月25日  中秋节\n10月1日  国庆节"},
        // The make-up workday of 10 October is no holiday, and none follows in 2026's window.
        {{2026, 10, 8}, "10月8日 星期四", "未来30天", "暂无法定假期", "日子有盼头 · 10天后是重阳节", "10月18日  重阳节"},
        {{2026, 11, 15}, "11月15日 星期日", "未来30天", "暂无法定假期", "30天内暂无已收录的节日", ""},
        {{2026, 12, 10}, "12月10日 星期四", "未来30天", "暂未收录此时段放假安排", "日子有盼头 · 22天后是元旦",
         "1月1日  元旦"},
        // A festival today wins over a later one; the tool tip keeps both.
        {{2026, 10, 1}, "10月1日 星期四", "假期进行中 · 国庆节", "正在放假", "今日小记 · 国庆节",
         "10月1日  国庆节\n10月18日  重阳节"},
        // The lunar 端午 is named in its long form.
        {{2026, 6, 10}, "6月10日 星期三", "下一站假期 · 端午节", "再过  9 天，就放假", "日子有盼头 · 9天后是端午节",
         "6月19日  端午节\n7月1日  建党节"},
        // The window of 2025-12-05 reaches 2026-01-01, a rest day named by its month.
        {{2025, 12, 5}, "12月5日 星期五", "下一站假期 · 元旦", "再过  27 天，就放假", "日子有盼头 · 27天后是元旦",
         "1月1日  元旦"},
    };
    for (const Case& item : cases) {
        for (const HolidayReminder& reminder : remindersOn(item.today)) {
            SCOPED_TRACE(item.today.isoText());
            EXPECT_EQ(reminder.dateLine, item.dateLine);
            EXPECT_EQ(reminder.headline, item.headline);
            EXPECT_EQ(reminder.countdown.text(), item.countdown);
            EXPECT_EQ(reminder.festivalLine, item.festivalLine);
            EXPECT_EQ(reminder.festivalToolTip, item.festivalToolTip);
            EXPECT_EQ(reminder.headlineToolTip, "按今天计算未来30天；放假安排使用已收录的2026年中国大陆官方数据。");
        }
    }
}

TEST_P(HolidayReminderTest, CountdownRunsCarryTheirFontsAndColours) {
    const auto runsOf = [](const platform::AttributedString& text) {
        std::vector<std::tuple<std::string, std::optional<Font>, std::optional<Color>>> runs;
        for (const auto& run : text.runs()) {
            runs.emplace_back(std::string(text.textOf(run)), run.attributes.font, run.attributes.foregroundColor);
        }
        return runs;
    };
    const Color ink = CalendarBrandArtwork::ink();
    const Color accent = CalendarBrandArtwork::accent();

    const auto ahead = remindersOn({2026, 9, 13}).front().countdown;
    EXPECT_EQ(runsOf(ahead), (decltype(runsOf(ahead)){
                                 {"再过  ", Font::systemFont(15), ink},
                                 {"12", Font::monospacedDigitSystemFont(34, FontWeight::bold), accent},
                                 {" 天，就放假", Font::systemFont(15), ink},
                             }));
    const auto during = remindersOn({2026, 10, 3}).front().countdown;
    EXPECT_EQ(runsOf(during), (decltype(runsOf(during)){{"正在放假", Font::systemFont(28, FontWeight::semibold), accent}}));
    const auto none = remindersOn({2026, 11, 15}).front().countdown;
    EXPECT_EQ(runsOf(none), (decltype(runsOf(none)){{"暂无法定假期", Font::systemFont(16),
                                                     Color::system(platform::SystemColor::secondaryLabel)}}));
}

TEST_P(HolidayReminderTest, FestivalsKeepTheirOffsetsInWholeDays) {
    const auto reminder = remindersOn({2026, 9, 24}).back();
    ASSERT_EQ(reminder.festivals.size(), 3u);
    const int offsets[] = {1, 7, 24};
    for (std::size_t index = 0; index < 3; ++index) {
        EXPECT_EQ(reminder.festivals[index].offset, offsets[index]);
        EXPECT_EQ(lookup_.gregorian().day(reminder.festivals[index].date), CalendarDay(2026, 9, 24).addingDays(offsets[index]));
    }
}

INSTANTIATE_TEST_SUITE_P(Zones, HolidayReminderTest, ::testing::Values("Asia/Shanghai", "America/New_York"),
                         [](const auto& info) { return std::string(info.param).substr(0, 4) == "Asia" ? "Shanghai" : "NewYork"; });

// New York's clocks fall back on 1 November 2026. Days added as 24-hour
// steps would land at 23:00 of the day before from then on.
TEST(HolidayReminderClockChangeTest, CountsWholeDaysAcrossTheChange) {
    testing::ScopedTimeZone zone("America/New_York");
    auto tables = CalendarDayTables::shipped();
    tables.officialRestDays2026.insert({2026, 11, 5});
    tables.solarFestivals[{11, 3}] = "测试节";
    const CalendarDayLookup lookup(platform::GregorianCalendar::current(), tables);

    const Date today = lookup.gregorian().startOfDay(CalendarDay{2026, 10, 25});
    const auto reminder = HolidayReminder::compute(today.addingTimeInterval(12 * 3600), lookup);
    EXPECT_EQ(reminder.countdown.text(), "再过  11 天，就放假");
    EXPECT_EQ(reminder.headline, "下一站假期 · 节假日");  // November names no holiday
    EXPECT_EQ(reminder.festivalLine, "日子有盼头 · 9天后是测试节");
    EXPECT_EQ(reminder.festivalToolTip, "11月3日  测试节");
}

}  // namespace
}  // namespace tallowmere
