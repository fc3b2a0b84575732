#pragma once

#include <memory>
#include <string>

namespace tallowmere::platform {

class Desktop;
class SimulatedApplication;
class SimulatedWindow;

// System Settings on the simulated Mac, and the system's Accessibility
// prompt, so a person at the desktop viewer can grant the program trust the
// way they would on a Mac.
//
// System Settings opens "x-apple.systempreferences:" addresses in one window
// named for the page. Its Privacy & Security › Accessibility page lists the
// program with a switch: pressing that row grants or withdraws trust. The
// prompt (asked for through `AccessibilityTrust::isProcessTrusted(true)`)
// is a small system window whose first button opens that page.
namespace SystemSettingsApplication {

inline constexpr const char* bundleIdentifier = "com.apple.systempreferences";
inline constexpr const char* bundlePath = "/System/Applications/System Settings.app";
inline constexpr const char* urlScheme = "x-apple.systempreferences";
inline constexpr const char* accessibilityPageURL =
    "x-apple.systempreferences:com.apple.preference.security?Privacy_Accessibility";
// The system agent that owns the trust prompt.
inline constexpr const char* promptAgentBundleIdentifier = "com.apple.accessibility.universalAccessAuthWarn";

// Installs both on `desktop` (System Settings not running until opened) and
// has the trust prompt show the prompt window.
void install(Desktop& desktop);

// The window title for an address: the page it names, else "System Settings".
std::string pageTitle(const std::string& url);

// The prompt window, while it is shown.
std::shared_ptr<SimulatedWindow> promptWindow(Desktop& desktop);

}  // namespace SystemSettingsApplication

}  // namespace tallowmere::platform
