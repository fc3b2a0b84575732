#include "platform/desktop/login_item_service.h"

#include <unistd.h>

#include "platform/base/property_list.h"
#include "platform/runtime/app_context.h"
#include "platform/system/command_table.h"
#include "platform/system/files.h"
#include "platform/system/paths.h"

namespace tallowmere::platform {

namespace {

// launchctl's exit statuses are the error numbers it prints.
constexpr int noSuchFile = 2;
constexpr int noSuchProcess = 3;
constexpr int inputOutputError = 5;
constexpr int unsupportedDomain = 125;
constexpr int usageError = 64;

std::string userDomain() { return "gui/" + std::to_string(::getuid()); }

int failed(CommandCall& call, std::string_view verb, int code, std::string_view reason) {
    call.writeError(std::string(verb) + " failed: " + std::to_string(code) + ": " + std::string(reason) + "\n");
    return code;
}

// The agent's label, read from its property list as launchd does.
Result<std::string> agentLabel(const std::filesystem::path& plist) {
    auto bytes = Files::read(plist);
    if (!bytes) return bytes.error();
    auto root = PropertyList::read(std::span<const std::uint8_t>(*bytes));
    if (!root) return root.error();
    const PropertyValue* label = root->find("Label");
    if (!label || !label->asString() || label->asString()->empty()) {
        return Error{ErrorCode::wrongShape, "The agent has no label", 0};
    }
    return *label->asString();
}

}  // namespace

LoginItemService& LoginItemService::shared() { return AppContext::current().shared<LoginItemService>(); }

LoginItemService::LoginItemService() {
    // Resolved at each run, so the stand-in always acts on the current
    // context's service.
    CommandTable::shared().installStandIn("/bin/launchctl",
                                          [](CommandCall& call) { return LoginItemService::shared().launchctl(call); });
    if (auto bytes = Files::read(stateFile())) restoreState(*bytes);
}

std::filesystem::path LoginItemService::stateFile() {
    return Paths::systemFile("/private/var/db/com.apple.backgroundtaskmanagement/LoginItems.plist");
}

void LoginItemService::restoreState(std::span<const std::uint8_t> bytes) {
    auto root = PropertyList::read(bytes);
    if (!root || !root->asDictionary()) return;
    std::lock_guard lock(mutex_);
    if (const PropertyValue* status = root->find("mainAppStatus"); status && status->asInteger()) {
        const auto raw = *status->asInteger();
        if (raw >= 0 && raw <= static_cast<std::int64_t>(Status::notFound)) status_ = static_cast<Status>(raw);
    }
    if (const PropertyValue* approval = root->find("approvalRequired"); approval && approval->asBoolean()) {
        approvalRequired_ = *approval->asBoolean();
    }
    if (const PropertyValue* agents = root->find("loadedAgents"); agents && agents->asDictionary()) {
        for (const auto& [label, path] : *agents->asDictionary()) {
            if (path.asString() && !label.empty()) loadedAgents_.emplace(label, *path.asString());
        }
    }
}

void LoginItemService::saveState() const {
    PropertyValue::Dictionary agents;
    for (const auto& [label, path] : loadedAgents_) agents.emplace(label, PropertyValue(path.string()));
    PropertyValue::Dictionary root{{"mainAppStatus", PropertyValue(static_cast<int>(status_))},
                                   {"approvalRequired", PropertyValue(approvalRequired_)},
                                   {"loadedAgents", PropertyValue(std::move(agents))}};
    auto bytes = PropertyList::write(PropertyValue(std::move(root)));
    if (!bytes) return;
    // A state that cannot be kept is lost with the process, as it was
    // before it was kept at all; the change itself has happened.
    if (Files::createDirectories(stateFile().parent_path())) (void)Files::writeAtomically(stateFile(), *bytes);
}

bool LoginItemService::hasMainAppService() const {
    std::lock_guard lock(mutex_);
    return hasMainAppService_;
}

void LoginItemService::setHasMainAppService(bool available) {
    std::lock_guard lock(mutex_);
    hasMainAppService_ = available;
}

LoginItemService::Status LoginItemService::status() const {
    std::lock_guard lock(mutex_);
    return status_;
}

Result<void> LoginItemService::registerMainApp() {
    std::lock_guard lock(mutex_);
    ++registrationCount_;
    if (registrationFailure_) return *registrationFailure_;
    status_ = approvalRequired_ ? Status::requiresApproval : Status::enabled;
    saveState();
    return {};
}

Result<void> LoginItemService::unregisterMainApp() {
    std::lock_guard lock(mutex_);
    ++unregistrationCount_;
    if (unregistrationFailure_) return *unregistrationFailure_;
    status_ = Status::notRegistered;
    saveState();
    return {};
}

int LoginItemService::registrationCount() const {
    std::lock_guard lock(mutex_);
    return registrationCount_;
}

int LoginItemService::unregistrationCount() const {
    std::lock_guard lock(mutex_);
    return unregistrationCount_;
}

void LoginItemService::setApprovalRequired(bool required) {
    std::lock_guard lock(mutex_);
    approvalRequired_ = required;
    // Switching an enabled item off in System Settings leaves it registered
    // but waiting for approval again.
    if (required && status_ == Status::enabled) status_ = Status::requiresApproval;
    if (!required && status_ == Status::requiresApproval) status_ = Status::enabled;
    saveState();
}

void LoginItemService::setRegistrationFailure(std::optional<Error> failure) {
    std::lock_guard lock(mutex_);
    registrationFailure_ = std::move(failure);
}

void LoginItemService::setUnregistrationFailure(std::optional<Error> failure) {
    std::lock_guard lock(mutex_);
    unregistrationFailure_ = std::move(failure);
}

std::optional<std::filesystem::path> LoginItemService::loadedAgent(std::string_view label) const {
    std::lock_guard lock(mutex_);
    auto found = loadedAgents_.find(label);
    return found == loadedAgents_.end() ? std::nullopt : std::optional(found->second);
}

int LoginItemService::launchctl(CommandCall& call) {
    const auto& arguments = call.arguments();
    if (arguments.empty()) {
        call.writeError("Usage: launchctl <subcommand> ... | help [subcommand]\n");
        return usageError;
    }
    const std::string& subcommand = arguments[0];
    if (subcommand != "bootstrap" && subcommand != "bootout") {
        call.writeError("Unrecognized subcommand: " + subcommand + "\n");
        call.writeError("Usage: launchctl <subcommand> ... | help [subcommand]\n");
        return usageError;
    }
    if (arguments.size() != 3) {
        call.writeError("Usage: launchctl " + subcommand + " <domain-target> <service-path>\n");
        return usageError;
    }
    const bool loading = subcommand == "bootstrap";
    const std::string_view verb = loading ? "Bootstrap" : "Boot-out";
    if (arguments[1] != userDomain()) {
        return failed(call, verb, unsupportedDomain, "Domain does not support specified action");
    }
    auto label = agentLabel(arguments[2]);
    if (!label) {
        if (label.error().code == ErrorCode::notFound) return failed(call, verb, noSuchFile, "No such file or directory");
        return failed(call, verb, inputOutputError, "Input/output error");
    }

    std::lock_guard lock(mutex_);
    auto loaded = loadedAgents_.find(*label);
    if (loading) {
        // launchd refuses a second load of a loaded label with this famously vague error.
        if (loaded != loadedAgents_.end()) return failed(call, verb, inputOutputError, "Input/output error");
        loadedAgents_.emplace(*label, arguments[2]);
    } else {
        if (loaded == loadedAgents_.end()) return failed(call, verb, noSuchProcess, "No such process");
        loadedAgents_.erase(loaded);
    }
    saveState();
    return 0;
}

}  // namespace tallowmere::platform
