// quick-launch.json and the configuration mirror's copy are read at every
// start: any bytes must decode or fail cleanly, and what decoded must write
// back and decode to the same list.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "quicklaunch/quick_launch_entry.h"

using namespace tallowmere;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto entries = QuickLaunchEntryCoding::decode(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!entries) return 0;
    auto written = QuickLaunchEntryCoding::encode(*entries);
    if (!written) std::abort();
    auto again = QuickLaunchEntryCoding::decode(*written);
    if (!again || *again != *entries) std::abort();
    return 0;
}
