#include "app/launch_at_login_manager.h"

#include <unistd.h>

#include <algorithm>
#include <system_error>

#include "localization/interface_language.h"
#include "platform/base/property_list.h"
#include "platform/base/text.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/login_item_service.h"
#include "platform/system/files.h"
#include "platform/system/paths.h"
#include "platform/system/process_runner.h"
#include "platform/system/system_error.h"

namespace tallowmere::LaunchAtLoginManager {

using platform::Error;
using platform::LoginItemService;
using platform::PropertyValue;
using platform::Result;

namespace {

std::string bundlePath() { return platform::Desktop::shared().currentApplication().bundlePath(); }

Error approvalError(int code) {
    return Error{platform::ErrorCode::permissionDenied, L("请在系统设置的登录项中允许本应用自动启动。"), code};
}

Result<void> deleteAgentIfPresent() {
    std::error_code error;
    std::filesystem::remove(agentURL(), error);
    if (error) return platform::systemError(error.value(), "The launch agent couldn\u2019t be removed");
    return {};
}

Result<void> writeAgent() {
    const PropertyValue agent(PropertyValue::Dictionary{
        {"Label", agentLabel},
        {"ProgramArguments", PropertyValue::Array{"/usr/bin/open", "-gj", bundlePath(), "--args", "--background"}},
        {"RunAtLoad", true},
        {"KeepAlive", false},
        {"LimitLoadToSessionType", "Aqua"},
    });
    auto bytes = platform::PropertyList::write(agent, platform::PropertyListFormat::xml);
    if (!bytes) return bytes.error();
    return platform::Files::writeAtomically(agentURL(), *bytes);
}

Result<void> setMainAppEnabled(bool enabled) {
    auto& service = LoginItemService::shared();
    (void)removeLegacyAgent();
    const auto status = service.status();
    if (!enabled) {
        if (status == LoginItemService::Status::notRegistered) return {};
        return service.unregisterMainApp();
    }
    if (status == LoginItemService::Status::requiresApproval) {
        openLoginItemsSettings();
        return approvalError(approvalPending);
    }
    if (service.status() != LoginItemService::Status::enabled) {
        if (auto registered = service.registerMainApp(); !registered) return registered;
    }
    if (service.status() == LoginItemService::Status::requiresApproval) {
        openLoginItemsSettings();
        return approvalError(approvalRequiredAfterRegistering);
    }
    return {};
}

Result<void> setAgentEnabled(bool enabled) {
    const std::string domain = launchDomain();
    const std::string agent = agentURL().string();
    if (!enabled) {
        (void)runLaunchctl({"bootout", domain, agent});  // an agent that is not loaded is normal
        return deleteAgentIfPresent();
    }
    if (auto folder = platform::Files::createDirectories(platform::Paths::launchAgents()); !folder) return folder;
    (void)runLaunchctl({"bootout", domain, agent});  // an earlier copy is unloaded first
    if (auto written = writeAgent(); !written) return written;
    if (auto loaded = runLaunchctl({"bootstrap", domain, agent}); !loaded) {
        // A failed enable leaves no agent behind, so isEnabled stays false.
        (void)deleteAgentIfPresent();
        return loaded;
    }
    return {};
}

// The agent's program arguments, when the file holds an array of strings there.
std::optional<std::vector<std::string>> agentProgramArguments() {
    auto bytes = platform::Files::read(agentURL());
    if (!bytes) return std::nullopt;
    auto root = platform::PropertyList::read(std::span<const std::uint8_t>(*bytes));
    if (!root) return std::nullopt;
    const PropertyValue* list = root->find("ProgramArguments");
    if (!list || !list->asArray()) return std::nullopt;
    std::vector<std::string> arguments;
    for (const PropertyValue& item : *list->asArray()) {
        if (!item.asString()) return std::nullopt;
        arguments.push_back(*item.asString());
    }
    return arguments;
}

}  // namespace

std::filesystem::path agentURL() { return platform::Paths::launchAgents() / (std::string(agentLabel) + ".plist"); }

std::string launchDomain() { return "gui/" + std::to_string(::getuid()); }

bool isEnabled() {
    auto& service = LoginItemService::shared();
    if (service.hasMainAppService()) return service.status() == LoginItemService::Status::enabled;
    std::error_code error;
    return std::filesystem::exists(agentURL(), error);
}

Result<void> setEnabled(bool enabled) {
    return LoginItemService::shared().hasMainAppService() ? setMainAppEnabled(enabled) : setAgentEnabled(enabled);
}

void synchronizePathIfEnabled() {
    auto& service = LoginItemService::shared();
    if (!service.hasMainAppService()) {
        if (!isEnabled()) return;
        const auto arguments = agentProgramArguments();
        if (!arguments) return;
        if (std::find(arguments->begin(), arguments->end(), bundlePath()) == arguments->end()) {
            (void)setEnabled(true);
        }
        return;
    }
    std::error_code error;
    if (!std::filesystem::exists(agentURL(), error)) return;
    if (service.status() != LoginItemService::Status::enabled) {
        // The old agent stays until the login item takes over; the next start tries again.
        if (!service.registerMainApp()) return;
    }
    (void)removeLegacyAgent();
}

Result<void> removeLegacyAgent() {
    (void)runLaunchctl({"bootout", launchDomain(), agentURL().string()});
    return deleteAgentIfPresent();
}

Result<void> runLaunchctl(const std::vector<std::string>& arguments) {
    LoginItemService::shared();  // its stand-in answers for launchctl here
    // The runner reads the merged output while the tool runs, so a tool that
    // writes more than a pipe holds cannot stall the main thread.
    auto result = platform::ProcessRunner::run(platform::ProcessRequest{
        .executable = "/bin/launchctl",
        .arguments = arguments,
        .output = platform::ProcessOutput::merged,
    });
    if (!result) return result.error();
    if (result->succeeded()) return {};
    const std::string& output = result->standardOutput;
    std::string message = platform::Text::isValidUtf8(output) ? platform::Text::trimmingWhitespaceAndNewlines(output) : "";
    if (message.empty()) message = L("无法更新登录启动项。");
    return Error{platform::ErrorCode::ioFailed, std::move(message), result->status};
}

void openLoginItemsSettings() { platform::Workspace::shared().openURL(std::string(loginItemsSettingsURL)); }

}  // namespace tallowmere::LaunchAtLoginManager
