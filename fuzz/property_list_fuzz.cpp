// Property lists arrive from disk (the configuration mirror, preferences):
// any bytes must give a value or an error, and what was read must write back.
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/base/property_list.h"

using namespace tallowmere::platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto value = PropertyList::read(std::span<const std::uint8_t>(data, size));
    if (value.ok()) (void)PropertyList::write(*value, PropertyListFormat::xml);
    return 0;
}
