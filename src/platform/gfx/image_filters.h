#pragma once

#include "platform/gfx/bitmap.h"

namespace tallowmere::platform {

// The few colour filters the program runs on pictures, pixel by pixel on a
// copy. Colours are taken as given (no colour management on this platform).
namespace ImageFilters {

// Saturation 0 is grey, 1 leaves colours as they are; contrast scales each
// channel's distance from mid-grey; brightness is added. Alpha is kept.
Bitmap colorControls(const Bitmap& input, double saturation, double brightness, double contrast);
// Each colour channel becomes its opposite; alpha is kept.
Bitmap colorInvert(const Bitmap& input);
// White whose opacity is the input's luminance: light becomes opaque, dark
// transparent (an input pixel that is itself transparent stays so).
Bitmap maskToAlpha(const Bitmap& input);
// A line drawing as a shape: grey, contrast 1.8, inverted, then masked, so
// dark strokes become opaque and light areas transparent.
Bitmap darkStrokesToAlpha(const Bitmap& input);

}  // namespace ImageFilters

}  // namespace tallowmere::platform
