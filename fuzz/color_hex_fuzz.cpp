// A colour typed into the colour panel's hex field: any text must read as a
// colour or as none, never past its end.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/gfx/color.h"

using namespace tallowmere::platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (auto color = Color::fromHex(text)) (void)color->hexString();
    return 0;
}
