#pragma once

#include <optional>
#include <string_view>

#include "platform/gfx/image.h"

namespace tallowmere::platform {

// The bundle's picture `name`.`type` ("png", or "ico" holding a PNG), at its
// own size; none when the bundle has no such resource or it is no picture.
std::optional<Image> bundleImage(std::string_view name, std::string_view type);

}  // namespace tallowmere::platform
