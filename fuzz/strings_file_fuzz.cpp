// Localized strings tables come from application bundles the user picks:
// any bytes must read or fail cleanly.
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/base/strings_file.h"

using namespace tallowmere::platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    (void)StringsFile::read(std::span(data, size));
    return 0;
}
