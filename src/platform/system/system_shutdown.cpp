#include "platform/system/system_shutdown.h"

#include "platform/runtime/app_context.h"
#include "platform/runtime/main_queue.h"
#include "platform/runtime/notification_center.h"
#include "platform/system/administrator_prompt.h"
#include "platform/system/privileged_shell_scripts.h"

namespace tallowmere::platform {

SystemShutdown& SystemShutdown::shared() { return AppContext::current().shared<SystemShutdown>(); }

std::optional<int> SystemShutdown::run(const std::string& source, CommandCall& call) {
    const auto script = PrivilegedShellScripts::shellScriptOf(source);
    if (!script || *script != command) return std::nullopt;
    if (!AdministratorPrompt::shared().requestAuthorization("osascript")) {
        call.writeError("User canceled. (-128)\n");
        return 1;
    }
    {
        std::lock_guard lock(mutex_);
        ++requests_;
    }
    auto& context = AppContext::current();
    context.mainQueue().async([&context] { context.notificationCenter().post(didShutDownNotification); });
    return 0;
}

int SystemShutdown::requestCount() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

}  // namespace tallowmere::platform
