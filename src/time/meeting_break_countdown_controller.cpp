#include "time/meeting_break_countdown_controller.h"

#include "platform/runtime/app_context.h"

namespace tallowmere {

MeetingBreakCountdownController& MeetingBreakCountdownController::shared() {
    return platform::AppContext::current().shared<MeetingBreakCountdownController>();
}

void MeetingBreakCountdownController::startFromMenu(platform::MenuItem& /*sender*/) {}

void MeetingBreakCountdownController::startCustomFromMenu(platform::MenuItem& /*sender*/) {}

void MeetingBreakCountdownController::stopFromMenu(platform::MenuItem& /*sender*/) {}

}  // namespace tallowmere
