#include "platform/desktop/calendar_database.h"

#include <algorithm>
#include <array>
#include <utility>

namespace tallowmere::platform {

namespace {

constexpr std::array<std::pair<CalendarAuthorizationStatus, std::string_view>, 5> statusNames{{
    {CalendarAuthorizationStatus::notDetermined, "notDetermined"},
    {CalendarAuthorizationStatus::restricted, "restricted"},
    {CalendarAuthorizationStatus::denied, "denied"},
    {CalendarAuthorizationStatus::fullAccess, "fullAccess"},
    {CalendarAuthorizationStatus::writeOnly, "writeOnly"},
}};

}  // namespace

std::string_view rawValue(CalendarAuthorizationStatus status) {
    for (const auto& [value, name] : statusNames) {
        if (value == status) return name;
    }
    return "notDetermined";
}

std::optional<CalendarAuthorizationStatus> calendarAuthorizationStatusFromRawValue(std::string_view text) {
    for (const auto& [value, name] : statusNames) {
        if (name == text) return value;
    }
    return std::nullopt;
}

void CalendarDatabase::requestFullAccess(const std::string& requester, const Completion& completion) {
    if (status_ == CalendarAuthorizationStatus::notDetermined) {
        ++promptCount_;
        const bool allowed = ask && ask(requester);
        status_ = allowed ? CalendarAuthorizationStatus::fullAccess : CalendarAuthorizationStatus::denied;
    }
    if (completion) completion(status_ == CalendarAuthorizationStatus::fullAccess);
}

const SimulatedCalendar& CalendarDatabase::calendar(const std::string& title) {
    for (const auto& calendar : calendars_) {
        if (calendar.title == title) return calendar;
    }
    calendars_.push_back({"calendar-" + std::to_string(calendars_.size() + 1), title});
    return calendars_.back();
}

void CalendarDatabase::addEvent(CalendarEvent event, const std::string& calendarTitle) {
    event.calendarIdentifier = calendar(calendarTitle).identifier;
    if (event.endDate < event.startDate) event.endDate = event.startDate;
    events_.push_back(std::move(event));
}

std::vector<CalendarEvent> CalendarDatabase::events(Date start, Date end) const {
    std::vector<CalendarEvent> found;
    for (const auto& event : events_) {
        const bool instant = event.endDate == event.startDate;
        const bool overlaps = instant ? (event.startDate >= start && event.startDate < end)
                                      : (event.startDate < end && event.endDate > start);
        if (overlaps) found.push_back(event);
    }
    return found;
}

}  // namespace tallowmere::platform
