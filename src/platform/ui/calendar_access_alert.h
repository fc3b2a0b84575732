#pragma once

#include <string>

namespace tallowmere::platform {

// The simulated Mac's prompt for calendar access: an alert asking whether
// `requester` may read and change every calendar, answered by the person at
// the desktop. True for "Allow Full Access"; nobody there means no.
bool askForCalendarAccess(const std::string& requester);

}  // namespace tallowmere::platform
