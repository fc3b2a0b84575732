// Text another application hands over is searched for links: every match
// must lie inside the text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/base/link_detector.h"

using namespace tallowmere::platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const auto& match : LinkDetector::matches(text)) {
        if (match.location + match.length > text.size() || match.length == 0) std::abort();
    }
    return 0;
}
