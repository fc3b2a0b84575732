#include "time/holiday_reminder.h"

#include <optional>

#include "platform/gfx/font.h"
#include "time/calendar_brand_artwork.h"
#include "time/calendar_date_texts.h"

namespace tallowmere {

using platform::AttributedString;
using platform::Color;
using platform::Date;
using platform::Font;
using platform::FontWeight;
using platform::TextAttributes;

namespace {

constexpr int lastOffset = 30;
constexpr int scheduleYear = 2026;  // the only year whose arrangement is shipped

struct WindowDay {
    int offset = 0;
    Date date;
    platform::CalendarDay day;
};

AttributedString countdownToRest(int days) {
    const TextAttributes words{.font = Font::systemFont(15), .foregroundColor = CalendarBrandArtwork::ink()};
    AttributedString text;
    text.append("再过  ", words);
    text.append(std::to_string(days), {.font = Font::monospacedDigitSystemFont(34, FontWeight::bold),
                                       .foregroundColor = CalendarBrandArtwork::accent()});
    text.append(" 天，就放假", words);
    return text;
}

std::string festivalLineFor(const HolidayReminder::Festival& nearest) {
    if (nearest.offset == 0) return "今日小记 · " + nearest.name;
    if (nearest.offset == 1) return "别忘啦 · 明天是" + nearest.name;
    return "日子有盼头 · " + std::to_string(nearest.offset) + "天后是" + nearest.name;
}

}  // namespace

HolidayReminder HolidayReminder::compute(Date now, const CalendarDayLookup& days) {
    const platform::GregorianCalendar& calendar = days.gregorian();
    const Date today = calendar.startOfDay(now);

    HolidayReminder reminder;
    const CalendarDateTexts texts(calendar);
    reminder.dateLine = texts.dateLine(today);

    // Offsets are whole calendar days, so a daylight-saving change inside the
    // window still moves each entry by exactly one day.
    std::vector<WindowDay> window;
    for (int offset = 0; offset <= lastOffset; ++offset) {
        if (const auto date = calendar.addingDays(offset, today)) window.push_back({offset, *date, calendar.day(*date)});
    }

    std::optional<WindowDay> nextRest;
    for (const WindowDay& entry : window) {
        if (days.officialWorkdayKind(entry.day) == CalendarWorkdayKind::rest) {
            nextRest = entry;
            break;
        }
    }
    if (nextRest) {
        const auto& names = days.tables().holidayNamesByMonth;
        const auto found = names.find(nextRest->day.month);
        const std::string name = found == names.end() ? "节假日" : found->second;
        if (nextRest->offset == 0) {
            reminder.headline = "假期进行中 · " + name;
            reminder.countdown = AttributedString(
                "正在放假", {.font = Font::systemFont(28, FontWeight::semibold),
                             .foregroundColor = CalendarBrandArtwork::accent()});
        } else {
            reminder.headline = "下一站假期 · " + name;
            reminder.countdown = countdownToRest(nextRest->offset);
        }
    } else {
        reminder.headline = "未来30天";
        bool leavesScheduleYear = false;
        for (const WindowDay& entry : window) leavesScheduleYear = leavesScheduleYear || entry.day.year != scheduleYear;
        reminder.countdown = AttributedString(
            leavesScheduleYear ? "暂未收录此时段放假安排" : "暂无法定假期",
            {.font = Font::systemFont(16), .foregroundColor = Color::system(platform::SystemColor::secondaryLabel)});
    }

    for (const WindowDay& entry : window) {
        if (const auto name = days.festivalText(entry.day)) {
            reminder.festivals.push_back({entry.offset, entry.date, days.tables().longFestivalName(*name)});
        }
    }
    reminder.festivalLine =
        reminder.festivals.empty() ? "30天内暂无已收录的节日" : festivalLineFor(reminder.festivals.front());

    for (const Festival& festival : reminder.festivals) {
        if (!reminder.festivalToolTip.empty()) reminder.festivalToolTip += '\n';
        reminder.festivalToolTip += texts.monthAndDay(festival.date) + "  " + festival.name;
    }
    reminder.headlineToolTip = "按今天计算未来30天；放假安排使用已收录的2026年中国大陆官方数据。";
    return reminder;
}

}  // namespace tallowmere
