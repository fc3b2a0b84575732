#include "platform/base/gregorian_calendar.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include <unicode/gregocal.h>
#include <unicode/timezone.h>

namespace tallowmere::platform {

namespace {

constexpr double millisecondsPerDay = 86400000.0;

std::string utf8(const icu::UnicodeString& text) {
    std::string result;
    text.toUTF8String(result);
    return result;
}

bool isUnknown(const icu::TimeZone& zone) {
    icu::UnicodeString identifier;
    zone.getID(identifier);
    return identifier == icu::UnicodeString(u"Etc/Unknown");
}

// The zone the user's clock shows: TZ when it names a zone (POSIX allows a
// leading ':'), else the host's. ICU's own default is cached for the process,
// so it would miss a TZ changed after start; this asks afresh each time.
std::unique_ptr<icu::TimeZone> zoneFromEnvironment() {
    if (const char* variable = std::getenv("TZ"); variable && *variable) {
        std::string_view name(variable);
        if (name.front() == ':') name.remove_prefix(1);
        std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createTimeZone(
            icu::UnicodeString::fromUTF8(icu::StringPiece(name.data(), static_cast<int32_t>(name.size())))));
        if (zone && !isUnknown(*zone)) return zone;
    }
    std::unique_ptr<icu::TimeZone> host(icu::TimeZone::detectHostTimeZone());
    if (host && !isUnknown(*host)) return host;
    return std::unique_ptr<icu::TimeZone>(icu::TimeZone::getGMT()->clone());
}

// Calendar arithmetic on one field: ICU keeps the wall-clock time and holds
// a day of month inside a shorter month.
std::optional<Date> adding(icu::Calendar& calendar, UCalendarDateFields field, int amount, Date date) {
    UErrorCode status = U_ZERO_ERROR;
    calendar.setTime(date.timeIntervalSince1970() * 1000.0, status);
    calendar.add(field, amount, status);
    const UDate milliseconds = calendar.getTime(status);
    if (U_FAILURE(status)) return std::nullopt;
    return Date::fromTimeIntervalSince1970(milliseconds / 1000.0);
}

}  // namespace

struct GregorianCalendar::Engine {
    std::unique_ptr<icu::GregorianCalendar> calendar;

    static std::unique_ptr<Engine> make(std::unique_ptr<icu::TimeZone> zone) {
        UErrorCode status = U_ZERO_ERROR;
        auto calendar = std::make_unique<icu::GregorianCalendar>(zone.release(), icu::Locale("zh_CN"), status);
        if (U_FAILURE(status)) return nullptr;
        // Proleptic, as CalendarDay counts: no switch to Julian dates in 1582.
        calendar->setGregorianChange(-std::numeric_limits<double>::max(), status);
        calendar->setFirstDayOfWeek(UCAL_MONDAY);
        calendar->setRepeatedWallTimeOption(UCAL_WALLTIME_FIRST);
        calendar->setSkippedWallTimeOption(UCAL_WALLTIME_NEXT_VALID);
        if (U_FAILURE(status)) return nullptr;
        return std::make_unique<Engine>(Engine{std::move(calendar)});
    }

    std::unique_ptr<Engine> clone() const {
        return std::make_unique<Engine>(
            Engine{std::unique_ptr<icu::GregorianCalendar>(static_cast<icu::GregorianCalendar*>(calendar->clone()))});
    }
};

GregorianCalendar GregorianCalendar::current() {
    auto engine = Engine::make(zoneFromEnvironment());
    if (!engine) engine = Engine::make(std::unique_ptr<icu::TimeZone>(icu::TimeZone::getGMT()->clone()));
    if (!engine) {
        // Without ICU's Gregorian calendar nothing of the calendar can work.
        std::fputs("GregorianCalendar: ICU cannot make a Gregorian calendar\n", stderr);
        std::abort();
    }
    return GregorianCalendar(std::move(engine));
}

Result<GregorianCalendar> GregorianCalendar::inTimeZone(std::string_view identifier) {
    std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(
        icu::StringPiece(identifier.data(), static_cast<int32_t>(identifier.size())))));
    if (!zone || isUnknown(*zone)) {
        return Error{ErrorCode::notFound, "Unknown time zone: " + std::string(identifier)};
    }
    auto engine = Engine::make(std::move(zone));
    if (!engine) return Error{ErrorCode::internal, "ICU cannot make a Gregorian calendar"};
    return GregorianCalendar(std::move(engine));
}

GregorianCalendar::GregorianCalendar(std::unique_ptr<Engine> engine) : engine_(std::move(engine)) {
    icu::UnicodeString identifier;
    engine_->calendar->getTimeZone().getID(identifier);
    timeZoneIdentifier_ = utf8(identifier);
}

GregorianCalendar::GregorianCalendar(const GregorianCalendar& other)
    : engine_(other.engine_->clone()), timeZoneIdentifier_(other.timeZoneIdentifier_) {}

GregorianCalendar& GregorianCalendar::operator=(const GregorianCalendar& other) {
    if (this != &other) {
        engine_ = other.engine_->clone();
        timeZoneIdentifier_ = other.timeZoneIdentifier_;
    }
    return *this;
}

GregorianCalendar::GregorianCalendar(GregorianCalendar&&) noexcept = default;
GregorianCalendar& GregorianCalendar::operator=(GregorianCalendar&&) noexcept = default;
GregorianCalendar::~GregorianCalendar() = default;

CalendarDay GregorianCalendar::day(Date date) const {
    // The zone's offset at that instant is all a day needs; asking the
    // calendar for its fields costs several times as much.
    const double milliseconds = date.timeIntervalSince1970() * 1000.0;
    UErrorCode status = U_ZERO_ERROR;
    int32_t rawOffset = 0;
    int32_t savingsOffset = 0;
    engine_->calendar->getTimeZone().getOffset(milliseconds, false, rawOffset, savingsOffset, status);
    if (U_FAILURE(status)) rawOffset = savingsOffset = 0;
    const double local = milliseconds + rawOffset + savingsOffset;
    // A date that is not a number or lies millions of years away has no day
    // worth showing; it is held to the ends of that span rather than cast
    // out of range.
    constexpr double farthestDay = 1e9;
    const double dayNumber = std::floor(local / millisecondsPerDay);
    return CalendarDay::fromDayNumber(
        static_cast<std::int64_t>(std::isnan(dayNumber) ? 0 : std::clamp(dayNumber, -farthestDay, farthestDay)));
}

Date GregorianCalendar::startOfDay(CalendarDay day) const {
    icu::Calendar& calendar = *engine_->calendar;
    UErrorCode status = U_ZERO_ERROR;
    calendar.clear();
    calendar.set(day.year, day.month - 1, day.day, 0, 0, 0);
    const UDate milliseconds = calendar.getTime(status);
    if (U_FAILURE(status)) {
        // Far outside ICU's range: the day's midnight in UTC is the best answer.
        return Date::fromTimeIntervalSince1970(static_cast<double>(day.dayNumber()) * 86400.0);
    }
    return Date::fromTimeIntervalSince1970(milliseconds / 1000.0);
}

std::optional<Date> GregorianCalendar::addingDays(int days, Date date) const {
    return adding(*engine_->calendar, UCAL_DATE, days, date);
}

std::optional<Date> GregorianCalendar::addingMonths(int months, Date date) const {
    return adding(*engine_->calendar, UCAL_MONTH, months, date);
}

}  // namespace tallowmere::platform
