#include "menubar/media_control_controller.h"

#include "platform/runtime/app_context.h"

namespace tallowmere {

MediaControlController& MediaControlController::shared() {
    return platform::AppContext::current().shared<MediaControlController>();
}

}  // namespace tallowmere
