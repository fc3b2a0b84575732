#include "hosts/hosts_editor_controller.h"

#include "platform/runtime/app_context.h"

namespace tallowmere {

HostsEditorController& HostsEditorController::shared() {
    return platform::AppContext::current().shared<HostsEditorController>();
}

}  // namespace tallowmere
