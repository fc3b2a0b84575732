#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/result.h"

namespace tallowmere {

// What a second launch of the program hands the running one: the URLs it
// was started with, in order (none: the program was simply opened again).
//
// On the socket it is text: a header line "tallowmere-open/1 <count>", then
// each URL on a line of its own. The header's count lets a cut-off message
// be told from a whole one. Every byte is checked before anything is
// believed: the size, the header, the count, and each URL (UTF-8 without
// control characters, parses as a URL with a scheme).
struct InstanceRequest {
    static constexpr std::size_t maximumBytes = 4 * 1024 * 1024;
    static constexpr std::size_t maximumURLs = 4096;

    std::vector<std::string> urls;

    // The URL arguments of a launch (options such as "--finder-action"
    // start with "-" and stay with the launch).
    static InstanceRequest fromLaunchArguments(const std::vector<std::string>& arguments);

    std::string encoded() const;
    // A malformed or hostile message is an error saying what is wrong with it.
    static platform::Result<InstanceRequest> decode(std::string_view message);
    // Whether one URL may be handed over.
    static platform::Result<void> checkURL(std::string_view url);

    bool operator==(const InstanceRequest&) const = default;
};

}  // namespace tallowmere
