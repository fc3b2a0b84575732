#include "platform/ui/calendar_access_alert.h"

#include "platform/desktop/window_level.h"
#include "platform/ui/alert.h"
#include "platform/ui/window.h"

namespace tallowmere::platform {

bool askForCalendarAccess(const std::string& requester) {
    auto alert = Alert::make();
    alert->messageText = "\u201C" + requester + "\u201D would like full access to your calendars.";
    alert->informativeText = "It will be able to read, change and delete every event of your calendars.";
    alert->addButton("Allow Full Access");
    alert->addButton("Don\u2019t Allow");
    // The system asks from its own process, above every application's
    // windows, pop-up panels included (the calendar drop-down asks from one).
    if (auto window = alert->window()) window->setLevel(WindowLevel::popUpMenu + 1);
    return alert->runModal() == ModalResponses::alertFirstButton;
}

}  // namespace tallowmere::platform
