#include "platform/system/apple_script_command.h"

#include "platform/runtime/app_context.h"
#include "platform/system/privileged_shell_scripts.h"

namespace tallowmere::platform {

AppleScriptHandlers& AppleScriptHandlers::shared() {
    return AppContext::current().shared<AppleScriptHandlers>();
}

AppleScriptHandlers::AppleScriptHandlers() {
    add("do shell script with administrator privileges",
        [](const std::string& source, CommandCall& call) {
            return PrivilegedShellScripts::shared().run(source, call);
        });
}

void AppleScriptHandlers::add(std::string name, Handler handler) {
    std::lock_guard lock(mutex_);
    for (auto& entry : entries_) {
        if (entry.name == name) {
            entry.handler = std::move(handler);
            return;
        }
    }
    entries_.push_back({std::move(name), std::move(handler)});
}

std::optional<int> AppleScriptHandlers::run(const std::string& source, CommandCall& call) const {
    std::vector<Entry> entries;
    {
        std::lock_guard lock(mutex_);
        entries = entries_;
    }
    for (const auto& entry : entries) {
        if (auto status = entry.handler(source, call)) return status;
    }
    return std::nullopt;
}

namespace AppleScriptCommand {

int osascript(CommandCall& call) {
    const auto& arguments = call.arguments();
    std::string source;
    bool hasLine = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] != "-e" || i + 1 == arguments.size()) {
            call.writeError("osascript: only scripts given with -e run on this system\n");
            return 1;
        }
        if (hasLine) source += '\n';
        source += arguments[++i];
        hasLine = true;
    }
    if (!hasLine) {
        call.writeError("osascript: only scripts given with -e run on this system\n");
        return 1;
    }
    if (auto status = AppleScriptHandlers::shared().run(source, call)) return *status;
    call.writeError("execution error: This script isn\u2019t one this system can run. (-1708)\n");
    return 1;
}

}  // namespace AppleScriptCommand

}  // namespace tallowmere::platform
