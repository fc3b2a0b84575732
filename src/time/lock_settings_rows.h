#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallowmere {

// The read-only summary of the system's own automatic-lock settings, made
// from what its three readers print. Absent output means the reader could
// not be run or failed; anything that does not parse gives the row's
// "could not read" text rather than a guess.
namespace LockSettingsRows {

inline constexpr std::string_view heading = "系统自动锁屏设置（与本倒计时独立）";

// `pmset -g custom`: one row per power source that names a display sleep
// (battery first), or one "could not read" row.
std::vector<std::string> displaySleep(const std::optional<std::string>& pmsetOutput);
// `defaults -currentHost read com.apple.screensaver idleTime`, in seconds.
std::string screenSaver(const std::optional<std::string>& defaultsOutput);
// `sysadminctl -screenLock status`.
std::string passwordDelay(const std::optional<std::string>& sysadminctlOutput);

// The heading and the rows of all three readers, in order.
std::vector<std::string> all(const std::optional<std::string>& pmsetOutput,
                             const std::optional<std::string>& defaultsOutput,
                             const std::optional<std::string>& sysadminctlOutput);

}  // namespace LockSettingsRows

}  // namespace tallowmere
