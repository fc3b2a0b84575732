#pragma once

#include <string_view>

namespace tallowmere {

// The two fixed scripts that read Finder.
namespace FinderScripts {

// The POSIX paths of the items selected in Finder, in Finder's order.
constexpr std::string_view selection =
    "tell application \"Finder\"\n"
    "    set selectedPaths to {}\n"
    "    repeat with selectedItem in (get selection)\n"
    "        set end of selectedPaths to POSIX path of (selectedItem as alias)\n"
    "    end repeat\n"
    "    return selectedPaths\n"
    "end tell";

// The folder of Finder's front window, or the desktop with no window open;
// gives up after 5 seconds.
constexpr std::string_view frontFolder =
    "with timeout of 5 seconds\n"
    "    tell application id \"com.apple.finder\"\n"
    "        if (count of Finder windows) > 0 then\n"
    "            return POSIX path of ((target of front Finder window) as alias)\n"
    "        else\n"
    "            return POSIX path of (desktop as alias)\n"
    "        end if\n"
    "    end tell\n"
    "end timeout";

// Tells the simulated Finder what the two scripts ask, so it answers them
// in the program and through osascript. Called before either first runs.
void teachFinder();

}  // namespace FinderScripts

}  // namespace tallowmere
