#include "platform/ui/bundle_image.h"

#include "platform/gfx/icon_file.h"
#include "platform/gfx/svg_image.h"
#include "platform/system/bundle.h"

namespace tallowmere::platform {

std::optional<Image> bundleImage(std::string_view name, std::string_view type) {
    auto bytes = Bundle::main().resource(name, type);
    if (!bytes) return std::nullopt;
    const std::span<const std::uint8_t> data(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size());
    Result<Image> image = Error{ErrorCode::unsupported, "Not a picture type the bundle reads"};
    if (type == "png") {
        image = Image::fromPngData(Data(data.begin(), data.end()));
    } else if (type == "svg") {
        image = imageFromSvg(*bytes);
    } else if (type == "ico") {
        if (auto png = pngInIconFile(data)) image = Image::fromPngData(Data(png->begin(), png->end()));
    }
    if (!image) return std::nullopt;
    return *image;
}

}  // namespace tallowmere::platform
