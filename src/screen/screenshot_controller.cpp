#include "screen/screenshot_controller.h"

#include "platform/runtime/app_context.h"

namespace tallowmere {

ScreenshotController& ScreenshotController::shared() {
    return platform::AppContext::current().shared<ScreenshotController>();
}

void ScreenshotController::capture(platform::MenuItem& /*sender*/) {
    if (onWillCapture) onWillCapture();
}

}  // namespace tallowmere
