// JSON files (layouts, quick-launch entries, hosts profiles) are read from
// disk: any text must parse or fail cleanly, and what parsed must convert.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/base/json.h"

using namespace tallowmere::platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto parsed = Json::parse(std::string_view(reinterpret_cast<const char*>(data), size));
    if (parsed.ok()) (void)Json::toPropertyValue(*parsed);
    return 0;
}
