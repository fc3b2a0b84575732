// A monitor's EDID comes from the monitor itself; reading its identity
// must hold for any bytes.
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/desktop/display_identity.h"

using namespace tallowmere::platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (auto identity = DisplayIdentity::fromEdid(std::span<const std::uint8_t>(data, size))) {
        (void)identity->manufacturerCode();
    }
    return 0;
}
