#include "menubar/default_input_source_controller.h"

#include "platform/runtime/app_context.h"

namespace tallowmere {

DefaultInputSourceController& DefaultInputSourceController::shared() {
    return platform::AppContext::current().shared<DefaultInputSourceController>();
}

}  // namespace tallowmere
