#include "windows/accessibility.h"

#include "platform/desktop/desktop.h"
#include "platform/ui/desktop_link.h"

namespace tallowmere {

void presentAccessibilityPermissionPrompt() {
    platform::DesktopLink::desktop().workspace().openURL(
        "x-apple.systempreferences:com.apple.preference.security?Privacy_Accessibility");
}

}  // namespace tallowmere
