#pragma once

namespace tallowmere {

// Opens the Accessibility page of the system's privacy settings; shows no
// text of its own and does not raise the system's trust prompt.
void presentAccessibilityPermissionPrompt();

}  // namespace tallowmere
