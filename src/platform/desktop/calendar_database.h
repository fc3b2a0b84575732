#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/date.h"

namespace tallowmere::platform {

// What the person allowed this program to do with their calendars.
enum class CalendarAuthorizationStatus { notDetermined, restricted, denied, fullAccess, writeOnly };

std::string_view rawValue(CalendarAuthorizationStatus status);  // "notDetermined" ... "writeOnly"
std::optional<CalendarAuthorizationStatus> calendarAuthorizationStatusFromRawValue(std::string_view text);

// One event of a calendar. An event without a title is a real case (the
// person left it empty), not an empty text.
struct CalendarEvent {
    std::optional<std::string> title{};
    Date startDate{};
    Date endDate{};  // not before the start
    bool isAllDay = false;
    std::string calendarIdentifier{};

    bool operator==(const CalendarEvent&) const = default;
};

// One of the person's calendars ("工作", "家庭").
struct SimulatedCalendar {
    std::string identifier;
    std::string title;
};

// The simulated Mac's calendars and the program's permission to read them.
// A request for access while nothing is decided shows the system's prompt,
// which the person answers (through `ask`, installed by the UI layer); with
// nobody to ask, the answer is no. Once decided, the status only changes when
// a test (the person in System Settings) sets it. One per desktop.
class CalendarDatabase {
public:
    // True when the person allows full access; `requester` names the program.
    using Ask = std::function<bool(const std::string& requester)>;
    using Completion = std::function<void(bool granted)>;

    CalendarDatabase() = default;
    CalendarDatabase(const CalendarDatabase&) = delete;
    CalendarDatabase& operator=(const CalendarDatabase&) = delete;

    // --- Permission -------------------------------------------------------------
    CalendarAuthorizationStatus authorizationStatus() const { return status_; }
    void setAuthorizationStatus(CalendarAuthorizationStatus status) { status_ = status; }
    Ask ask;
    // Asks the person when nothing is decided yet, then answers whether
    // full access is granted. `completion` runs before this returns.
    void requestFullAccess(const std::string& requester, const Completion& completion);
    int promptCount() const { return promptCount_; }

    // --- Contents -----------------------------------------------------------------
    const std::vector<SimulatedCalendar>& calendars() const { return calendars_; }
    // The calendar with that title, made when there is none.
    const SimulatedCalendar& calendar(const std::string& title);
    // Adds an event to the calendar titled `calendarTitle` (made when
    // missing). An end before the start is taken as the start.
    void addEvent(CalendarEvent event, const std::string& calendarTitle = "日历");
    void removeAllEvents() { events_.clear(); }
    const std::vector<CalendarEvent>& allEvents() const { return events_; }

    // The events that overlap [start, end), in no particular order; an event
    // that takes no time counts where it starts. Read without checking the
    // permission: the program's event store checks it.
    std::vector<CalendarEvent> events(Date start, Date end) const;

private:
    CalendarAuthorizationStatus status_ = CalendarAuthorizationStatus::notDetermined;
    std::vector<SimulatedCalendar> calendars_;
    std::vector<CalendarEvent> events_;
    int promptCount_ = 0;
};

}  // namespace tallowmere::platform
