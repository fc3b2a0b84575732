#include "time/calendar_date_texts.h"

#include "platform/base/format.h"

namespace tallowmere {

namespace {

std::optional<platform::DateFormatter> formatter(std::string_view pattern, const platform::GregorianCalendar& calendar,
                                                 std::string_view locale) {
    auto made = platform::DateFormatter::make(pattern, calendar.timeZoneIdentifier(), locale);
    if (!made) return std::nullopt;
    return std::move(*made);
}

}  // namespace

CalendarDateTexts::CalendarDateTexts(const platform::GregorianCalendar& calendar)
    : dateLine_(formatter("M月d日 EEEE", calendar, "zh_CN")),
      // Month and day are numbers in any locale; the POSIX one keeps them ASCII.
      monthAndDay_(formatter("M月d日", calendar, "en_US_POSIX")),
      timeOfDay_(formatter("HH:mm", calendar, "en_US_POSIX")) {}

std::string CalendarDateTexts::dateLine(platform::Date date) const {
    return dateLine_ ? dateLine_->string(date) : std::string();
}

std::string CalendarDateTexts::monthAndDay(platform::Date date) const {
    return monthAndDay_ ? monthAndDay_->string(date) : std::string();
}

std::string CalendarDateTexts::timeOfDay(platform::Date date) const {
    return timeOfDay_ ? timeOfDay_->string(date) : std::string();
}

std::string CalendarDateTexts::monthLabel(int year, int month) {
    return platform::formatTemplate("%d年%d月", year, month);
}

}  // namespace tallowmere
