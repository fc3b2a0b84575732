#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/result.h"

namespace tallowmere {

// Makes the program start when the user logs in, and says whether it will.
// On macOS 13 and later the program is the user's login item; before, a
// per-user launch agent (~/Library/LaunchAgents/com.quenlow.tallowmere.login.plist)
// is written and loaded with `/bin/launchctl`. Newer systems migrate an
// agent left by the older way. No state of its own: every call asks the
// system again. Main thread.
//
// Failures are values whose message is for the user. The login item waiting
// for approval fails with code `approvalPending` (it was already waiting) or
// `approvalRequiredAfterRegistering` in `systemCode`; a launchctl failure
// carries launchctl's exit status there and its output as the message.
namespace LaunchAtLoginManager {

inline constexpr std::string_view agentLabel = "com.quenlow.tallowmere.login";
inline constexpr std::string_view loginItemsSettingsURL =
    "x-apple.systempreferences:com.apple.LoginItems-Settings.extension";
inline constexpr int approvalPending = 2;
inline constexpr int approvalRequiredAfterRegistering = 3;

// The agent file, built from the home folder (not the user name).
std::filesystem::path agentURL();
// "gui/" and the user id: the domain agents are loaded into.
std::string launchDomain();

bool isEnabled();
// Switches launch at login. When approval is pending, System Settings'
// login items are opened before the failure is returned.
platform::Result<void> setEnabled(bool enabled);
// At start-up: points an enabled agent at where the program now lives, or
// migrates an old agent to the login item. Reports nothing.
void synchronizePathIfEnabled();
// Unloads and deletes the agent file.
platform::Result<void> removeLegacyAgent();
// Runs launchctl once and waits; its output is read while it runs.
platform::Result<void> runLaunchctl(const std::vector<std::string>& arguments);
void openLoginItemsSettings();

}  // namespace LaunchAtLoginManager

}  // namespace tallowmere
