#include "time/countdown_day_controller.h"

#include "platform/runtime/app_context.h"

namespace tallowmere {

CountdownDayController& CountdownDayController::shared() {
    return platform::AppContext::current().shared<CountdownDayController>();
}

}  // namespace tallowmere
