#include "platform/base/chinese_calendar.h"

#include <unicode/calendar.h>
#include <unicode/timezone.h>

namespace tallowmere::platform {

struct ChineseCalendar::Engine {
    std::unique_ptr<icu::Calendar> calendar;
};

ChineseCalendar::ChineseCalendar() : engine_(std::make_unique<Engine>()) {
    UErrorCode status = U_ZERO_ERROR;
    // The calendar reads its day from the instant in its own zone; noon UTC
    // of a day is that day in UTC, so the day asked for is the day computed.
    std::unique_ptr<icu::Calendar> calendar(
        icu::Calendar::createInstance(icu::TimeZone::getGMT()->clone(), icu::Locale("zh_CN@calendar=chinese"), status));
    if (U_SUCCESS(status)) engine_->calendar = std::move(calendar);
}

ChineseCalendar::ChineseCalendar(ChineseCalendar&&) noexcept = default;
ChineseCalendar& ChineseCalendar::operator=(ChineseCalendar&&) noexcept = default;
ChineseCalendar::~ChineseCalendar() = default;

std::optional<LunarDate> ChineseCalendar::lunarDate(CalendarDay day) const {
    if (!engine_ || !engine_->calendar) return std::nullopt;
    icu::Calendar& calendar = *engine_->calendar;
    UErrorCode status = U_ZERO_ERROR;
    calendar.setTime((static_cast<double>(day.dayNumber()) + 0.5) * 86400000.0, status);
    const int month = calendar.get(UCAL_MONTH, status) + 1;
    const int dayOfMonth = calendar.get(UCAL_DATE, status);
    const bool isLeapMonth = calendar.get(UCAL_IS_LEAP_MONTH, status) != 0;
    if (U_FAILURE(status)) return std::nullopt;
    return LunarDate{month, dayOfMonth, isLeapMonth};
}

}  // namespace tallowmere::platform
