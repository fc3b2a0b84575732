#include "time/calendar_panel_controller.h"

#include "platform/runtime/app_context.h"

namespace tallowmere {

CalendarPanelController& CalendarPanelController::shared() {
    return platform::AppContext::current().shared<CalendarPanelController>();
}

}  // namespace tallowmere
