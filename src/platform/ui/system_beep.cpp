#include "platform/ui/system_beep.h"

#include "platform/desktop/desktop.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/ui_trace.h"

namespace tallowmere::platform {

void systemBeep() {
    DesktopLink::desktop().sounds().beep();
    UiTrace::shared().record("beep");
}

}  // namespace tallowmere::platform
