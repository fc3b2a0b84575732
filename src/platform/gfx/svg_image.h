#pragma once

#include <string_view>

#include "platform/base/result.h"
#include "platform/gfx/image.h"

namespace tallowmere::platform {

// An SVG document drawn at `scale` pixels per point, sized in points by its
// own width and height (its view box when it has no size). Fails for text
// that is not SVG or has no size.
Result<Image> imageFromSvg(std::string_view document, double scale = 2);
// The same, drawn when its pixels are first needed, for a document whose root
// element states its size in plain numbers (width="64" height="64"); any
// other is drawn at once.
Result<Image> imageFromSvgOnDemand(std::string_view document, double scale = 2);

}  // namespace tallowmere::platform
