#pragma once

#include <string_view>

#include "platform/base/result.h"
#include "platform/gfx/image.h"

namespace tallowmere::platform {

// An SVG document drawn at `scale` pixels per point, sized in points by its
// own width and height (its view box when it has no size). Fails for text
// that is not SVG or has no size.
Result<Image> imageFromSvg(std::string_view document, double scale = 2);

}  // namespace tallowmere::platform
