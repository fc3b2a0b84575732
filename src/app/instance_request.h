#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/result.h"

namespace tallowmere {

// What a second launch of the program hands the running one: the URLs it
// was started with, in order (none: the program was simply opened again),
// or a file to write a snapshot of the simulated screen to.
//
// On the socket it is text: a header line "tallowmere-open/1 <count>", then
// each URL on a line of its own. The header's count lets a cut-off message
// be told from a whole one. A snapshot is the line "tallowmere-snapshot/1"
// and the file's path on the next. Every byte is checked before anything is
// believed: the size, the header, the count, each URL (UTF-8 without
// control characters, parses as a URL with a scheme) and the path (the
// same, absolute).
struct InstanceRequest {
    static constexpr std::size_t maximumBytes = 4 * 1024 * 1024;
    static constexpr std::size_t maximumURLs = 4096;
    static constexpr std::size_t maximumPathBytes = 4096;

    std::vector<std::string> urls;
    // Set for a snapshot request, which carries no URLs.
    std::optional<std::string> snapshotPath{};

    // The URL arguments of a launch (options such as "--finder-action"
    // start with "-" and stay with the launch).
    static InstanceRequest fromLaunchArguments(const std::vector<std::string>& arguments);

    std::string encoded() const;
    // A malformed or hostile message is an error saying what is wrong with it.
    static platform::Result<InstanceRequest> decode(std::string_view message);
    // Whether one URL may be handed over.
    static platform::Result<void> checkURL(std::string_view url);
    // Whether a snapshot's path may be handed over.
    static platform::Result<void> checkSnapshotPath(std::string_view path);

    bool operator==(const InstanceRequest&) const = default;
};

}  // namespace tallowmere
