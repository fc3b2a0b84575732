// Request URLs come from another process (the Finder extension, the command
// line); parsing and reading their parts must hold for any text.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/base/url.h"

using namespace tallowmere::platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto url = Url::parse(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!url) return 0;
    (void)url->queryItems();
    (void)url->string();
    (void)url->standardized();
    return 0;
}
