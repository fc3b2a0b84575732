#include "platform/ui/calendar_access_alert.h"

#include "platform/ui/alert.h"

namespace tallowmere::platform {

bool askForCalendarAccess(const std::string& requester) {
    auto alert = Alert::make();
    alert->messageText = "\u201C" + requester + "\u201D would like full access to your calendars.";
    alert->informativeText = "It will be able to read, change and delete every event of your calendars.";
    alert->addButton("Allow Full Access");
    alert->addButton("Don\u2019t Allow");
    return alert->runModal() == ModalResponses::alertFirstButton;
}

}  // namespace tallowmere::platform
