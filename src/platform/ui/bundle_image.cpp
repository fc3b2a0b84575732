#include "platform/ui/bundle_image.h"

#include "platform/system/bundle.h"

namespace tallowmere::platform {

std::optional<Image> bundleImage(std::string_view name, std::string_view type) {
    auto bytes = Bundle::main().resource(name, type);
    if (!bytes || type != "png") return std::nullopt;
    auto image = Image::fromPngData(Data(bytes->begin(), bytes->end()));
    if (!image) return std::nullopt;
    return *image;
}

}  // namespace tallowmere::platform
