#include "toys/disco_light_show_controller.h"

#include "platform/runtime/app_context.h"

namespace tallowmere {

DiscoLightShowController& DiscoLightShowController::shared() { return platform::AppContext::current().shared<DiscoLightShowController>(); }

void DiscoLightShowController::presentLauncherFromMenu(platform::MenuItem& /*sender*/) {}

}  // namespace tallowmere
