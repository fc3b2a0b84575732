#include "quicklaunch/net_ease_music_icon.h"

#include "platform/ui/bundle_image.h"

namespace tallowmere {

std::optional<platform::Image> netEaseMusicIcon(double size) {
    auto image = platform::bundleImage("NetEaseMusic", "png");
    if (!image) return std::nullopt;
    image->setSize({size, size});
    image->setTemplate(false);
    return image;
}

}  // namespace tallowmere
