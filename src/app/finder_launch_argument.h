#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace tallowmere {

// The launch argument the Finder extension starts the program with when it
// only wants a request served: the main window then stays closed.
inline constexpr std::string_view finderActionArgument = "--finder-action";

// True when one whole argument is exactly "--finder-action".
inline bool wasLaunchedForFinderRequest(const std::vector<std::string>& arguments) {
    return std::find(arguments.begin(), arguments.end(), finderActionArgument) != arguments.end();
}

}  // namespace tallowmere
