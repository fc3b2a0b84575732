#pragma once

#include <string>

namespace tallowmere::platform {

// The simulated Mac's password prompt for administrator rights: an alert
// with a password field, "OK" and "Cancel", answered by the person at the
// desktop. True for OK. The password itself is not checked: the simulated
// Mac has one user, who is its administrator.
bool askForAdministratorPassword(const std::string& requester);

}  // namespace tallowmere::platform
