#include "screen/blackboard_window_controller.h"

#include "platform/runtime/app_context.h"

namespace tallowmere {

BlackboardWindowController& BlackboardWindowController::shared() {
    return platform::AppContext::current().shared<BlackboardWindowController>();
}

void BlackboardWindowController::openFromMenu(platform::MenuItem& /*sender*/) {}

void BlackboardWindowController::showPresetFromMenu(platform::MenuItem& /*sender*/) {}

}  // namespace tallowmere
