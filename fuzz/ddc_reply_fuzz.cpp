// A DDC/CI reply is whatever the monitor puts on the bus; the brightness
// read must check it, whatever it holds.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "platform/runtime/sleeper.h"
#include "screen/ddc_brightness_channel.h"

using namespace tallowmere;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    platform::Sleeper sleeper(false);
    DdcBrightnessChannel channel(
        [&](std::uint32_t, std::uint32_t, std::uint8_t* buffer, std::uint32_t length) {
            std::copy_n(data, std::min<std::size_t>(size, length), buffer);
            return size >= length ? 0 : 1;
        },
        [](std::uint32_t, std::uint32_t, std::uint8_t*, std::uint32_t) { return 0; }, sleeper);
    if (auto level = channel.readBrightness(); level && level->current > level->maximum) __builtin_trap();
    return 0;
}
