#include "toys/fly_simulation_controller.h"

#include "platform/runtime/app_context.h"

namespace tallowmere {

FlySimulationController& FlySimulationController::shared() { return platform::AppContext::current().shared<FlySimulationController>(); }

void FlySimulationController::summonTenRandomBuddies(platform::MenuItem& /*sender*/) {}

void FlySimulationController::sendAllBuddiesHome(platform::MenuItem& /*sender*/) {}

void FlySimulationController::dismissAllBuddiesImmediately(platform::MenuItem& /*sender*/) {}

}  // namespace tallowmere
