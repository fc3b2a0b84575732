#include "platform/ui/bundle_image.h"

#include "platform/gfx/icon_file.h"
#include "platform/gfx/svg_image.h"
#include "platform/system/bundle.h"

namespace tallowmere::platform {

std::optional<Image> bundleImage(std::string_view name, std::string_view type) {
    auto bytes = Bundle::main().resource(name, type);
    if (!bytes) return std::nullopt;
    const std::span<const std::uint8_t> data(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size());
    // Pictures are decoded or drawn when first shown: many are made for menus
    // at start, and a start without a screen shows none of them.
    if (type == "png") return Image::fromPngDataOnDemand(Data(data.begin(), data.end()));
    if (type == "ico") {
        if (auto png = pngInIconFile(data)) return Image::fromPngDataOnDemand(Data(png->begin(), png->end()));
        return std::nullopt;
    }
    if (type == "svg") {
        if (auto image = imageFromSvgOnDemand(*bytes)) return *image;
    }
    return std::nullopt;
}

}  // namespace tallowmere::platform
