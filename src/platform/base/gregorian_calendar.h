#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/base/calendar_day.h"
#include "platform/base/date.h"
#include "platform/base/result.h"

namespace tallowmere::platform {

// The user's Gregorian calendar on ICU: their time zone, locale zh_CN and
// weeks that start on Monday. It turns instants into calendar days and back,
// and does day and month arithmetic the way a wall calendar does, so a day
// with a daylight-saving change is still one day.
//
// The zone is read from the environment when the calendar is made (TZ when it
// names a zone, else the host's), so a calendar made after TZ changes uses the
// new zone. A calendar keeps ICU state: use one from one thread at a time.
class GregorianCalendar {
public:
    static constexpr int firstWeekday = 2;  // Monday, in the 1 = Sunday numbering

    // The user's calendar, in the zone the environment names now.
    static GregorianCalendar current();
    // The same calendar in the named zone ("Asia/Shanghai"); notFound for a
    // name ICU does not know.
    static Result<GregorianCalendar> inTimeZone(std::string_view identifier);

    GregorianCalendar(const GregorianCalendar& other);
    GregorianCalendar& operator=(const GregorianCalendar& other);
    GregorianCalendar(GregorianCalendar&&) noexcept;
    GregorianCalendar& operator=(GregorianCalendar&&) noexcept;
    ~GregorianCalendar();

    const std::string& timeZoneIdentifier() const { return timeZoneIdentifier_; }
    static constexpr std::string_view localeIdentifier() { return "zh_CN"; }

    // The calendar day an instant falls on in this zone.
    CalendarDay day(Date date) const;
    // 1 for Sunday through 7 for Saturday.
    int weekday(Date date) const { return day(date).weekday(); }
    bool isSameDay(Date left, Date right) const { return day(left) == day(right); }

    // The first instant of a day: midnight, or the end of the gap where a
    // clock change skips midnight.
    Date startOfDay(CalendarDay day) const;
    Date startOfDay(Date date) const { return startOfDay(day(date)); }

    // The same wall-clock time that many days or months away; a month end is
    // kept inside the shorter month (31 January + 1 month is 28 or 29
    // February). Absent when ICU cannot reach it.
    std::optional<Date> addingDays(int days, Date date) const;
    std::optional<Date> addingMonths(int months, Date date) const;

    // Whole calendar days from one instant's day to another's (negative when
    // `to` lies on an earlier day). Never derived from seconds.
    std::int64_t daysBetween(Date from, Date to) const { return day(to).dayNumber() - day(from).dayNumber(); }

private:
    struct Engine;  // the ICU calendar, kept out of this header
    explicit GregorianCalendar(std::unique_ptr<Engine> engine);

    std::unique_ptr<Engine> engine_;
    std::string timeZoneIdentifier_;
};

}  // namespace tallowmere::platform
