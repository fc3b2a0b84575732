#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tallowmere {

// The shell script that installs a staged hosts text as /private/etc/hosts
// with administrator rights, and its AppleScript wrapper for osascript.
namespace HostsApplyScript {

// Where the staged file's quoted path stands in `scriptTemplate` (three
// times).
inline constexpr std::string_view stagedFileSlot = "QUOTED";

// Every mandatory step stops the script (set -e), including a difference
// found by either cmp; the copy is made inside /private/etc so the move
// replaces the hosts file in one rename, and the trap removes a copy left
// behind. The cache refreshes never stop it: each prints
// CACHE_REFRESH_FAILED when it fails.
inline constexpr std::string_view scriptTemplate =
    "set -e\n"
    "staged=$(/usr/bin/mktemp /private/etc/.tallowmere-hosts.XXXXXX)\n"
    "trap '/bin/rm -f \"$staged\"' EXIT\n"
    "/bin/cat QUOTED > \"$staged\"\n"
    "/usr/bin/cmp -s QUOTED \"$staged\"\n"
    "/usr/sbin/chown 0:0 \"$staged\"\n"
    "/bin/chmod 644 \"$staged\"\n"
    "/bin/mv -f \"$staged\" /private/etc/hosts\n"
    "/usr/bin/cmp -s QUOTED /private/etc/hosts\n"
    "if ! /usr/bin/dscacheutil -flushcache >/dev/null 2>&1; then\n"
    "    /usr/bin/printf 'CACHE_REFRESH_FAILED\\n'\n"
    "fi\n"
    "if ! /usr/bin/killall -HUP mDNSResponder >/dev/null 2>&1; then\n"
    "    /usr/bin/printf 'CACHE_REFRESH_FAILED\\n'\n"
    "fi";

// What the script prints when a cache refresh failed.
inline constexpr std::string_view cacheRefreshFailedMarker = "CACHE_REFRESH_FAILED";

// The script for this staged file.
std::string shellScript(const std::filesystem::path& stagedFile);

// do shell script "<script, \ and " escaped>" with administrator privileges
std::string appleScriptSource(std::string_view shellScript);

}  // namespace HostsApplyScript

}  // namespace tallowmere
