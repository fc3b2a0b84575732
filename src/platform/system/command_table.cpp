#include "platform/system/command_table.h"

#include <algorithm>
#include <array>

#include "platform/runtime/app_context.h"
#include "platform/system/apple_script_command.h"
#include "platform/system/chflags_command.h"
#include "platform/system/hash_commands.h"
#include "platform/system/network_commands.h"

namespace tallowmere::platform {

namespace {

// Programs found at the same path on a Mac and on this system, doing the same
// job with the same arguments and output. Nothing here changes the machine
// beyond what its arguments name.
constexpr std::array equivalentPrograms = {
    std::string_view("/bin/sh"),        std::string_view("/bin/bash"),
    std::string_view("/bin/cat"),       std::string_view("/bin/echo"),
    std::string_view("/bin/ls"),        std::string_view("/bin/pwd"),
    std::string_view("/bin/sleep"),     std::string_view("/bin/test"),
    std::string_view("/usr/bin/env"),   std::string_view("/usr/bin/true"),
    std::string_view("/usr/bin/false"), std::string_view("/usr/bin/printf"),
    std::string_view("/usr/bin/head"),  std::string_view("/usr/bin/tail"),
    std::string_view("/usr/bin/sort"),  std::string_view("/usr/bin/tr"),
    std::string_view("/usr/bin/wc"),    std::string_view("/usr/bin/awk"),
    std::string_view("/usr/bin/sed"),   std::string_view("/usr/bin/grep"),
    std::string_view("/usr/bin/uname"),
};

}  // namespace

CommandTable::CommandTable() {
    installStandIn("/usr/bin/shasum", HashCommands::shasum);
    installStandIn("/usr/bin/md5", HashCommands::md5);
    installStandIn("/usr/bin/osascript", AppleScriptCommand::osascript);
    installStandIn("/usr/bin/chflags", ChflagsCommand::chflags);
    // The name caches of the simulated Mac: flushing them always works.
    installStandIn("/usr/bin/dscacheutil", std::filesystem::path("/bin/true"));
    installStandIn("/usr/bin/killall", std::filesystem::path("/bin/true"));
    // Sockets and their traffic, read from this machine's kernel.
    installStandIn("/usr/sbin/lsof", ListOpenFilesCommand());
    installStandIn("/usr/bin/nettop", [command = std::make_shared<NetworkTopCommand>()](CommandCall& call) {
        return (*command)(call);
    });
}

CommandTable& CommandTable::shared() {
    return AppContext::current().shared<CommandTable>();
}

void CommandTable::installStandIn(std::string path, CommandHandler handler) {
    std::lock_guard lock(mutex_);
    standIns_[std::move(path)] = Resolution{Resolution::Kind::inProcess, std::move(handler), {}};
}

void CommandTable::installStandIn(std::string path, std::filesystem::path program) {
    std::lock_guard lock(mutex_);
    standIns_[std::move(path)] = Resolution{Resolution::Kind::program, {}, std::move(program)};
}

void CommandTable::overrideCommand(std::string path, CommandHandler handler) {
    std::lock_guard lock(mutex_);
    overrides_[std::move(path)] = Resolution{Resolution::Kind::inProcess, std::move(handler), {}};
}

void CommandTable::overrideCommand(std::string path, std::filesystem::path program) {
    std::lock_guard lock(mutex_);
    overrides_[std::move(path)] = Resolution{Resolution::Kind::program, {}, std::move(program)};
}

void CommandTable::removeOverride(std::string_view path) {
    std::lock_guard lock(mutex_);
    if (auto found = overrides_.find(path); found != overrides_.end()) overrides_.erase(found);
}

CommandTable::Resolution CommandTable::resolve(std::string_view path) const {
    std::lock_guard lock(mutex_);
    if (auto found = overrides_.find(path); found != overrides_.end()) return found->second;
    if (auto found = standIns_.find(path); found != standIns_.end()) return found->second;
    if (std::find(equivalentPrograms.begin(), equivalentPrograms.end(), path) !=
        equivalentPrograms.end()) {
        return Resolution{Resolution::Kind::program, {}, std::filesystem::path(path)};
    }
    return {};
}

}  // namespace tallowmere::platform
