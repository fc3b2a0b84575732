#include "platform/ui/administrator_alert.h"

#include "platform/ui/alert.h"
#include "platform/ui/secure_text_field.h"

namespace tallowmere::platform {

bool askForAdministratorPassword(const std::string& requester) {
    auto alert = Alert::make();
    alert->messageText = "\u201C" + requester + "\u201D wants to make changes.";
    alert->informativeText = "Enter an administrator\u2019s password to allow this.";
    auto password = SecureTextField::make();
    password->setPlaceholderString("Password");
    password->setFrame({0, 0, 280, 24});
    alert->accessoryView = password;
    alert->addButton("OK");
    alert->addButton("Cancel");
    return alert->runModal() == ModalResponses::alertFirstButton;
}

}  // namespace tallowmere::platform
