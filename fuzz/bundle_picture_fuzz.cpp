// Pictures of the bundle come in as icon files, SVG documents and PNGs; a
// damaged one must give no picture, never a crash.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "platform/gfx/icon_file.h"
#include "platform/gfx/image.h"
#include "platform/gfx/svg_image.h"

using namespace tallowmere::platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    if (auto png = pngInIconFile(bytes)) (void)Image::fromPngData(Data(png->begin(), png->end()));
    (void)imageFromSvg(std::string_view(reinterpret_cast<const char*>(data), size), 1);
    return 0;
}
