// layouts.json is read at every start and may have been edited by hand: any
// bytes must decode or fail cleanly, and what decoded must write back and
// decode to the same list.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "windows/workspace_layout.h"

using namespace tallowmere;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto layouts = WorkspaceLayoutCoding::decode(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!layouts) return 0;
    auto written = WorkspaceLayoutCoding::encode(*layouts);
    if (!written) std::abort();
    auto again = WorkspaceLayoutCoding::decode(*written);
    if (!again || *again != *layouts) std::abort();
    return 0;
}
