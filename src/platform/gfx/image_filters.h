#pragma once

#include <array>

#include "platform/gfx/bitmap.h"

namespace tallowmere::platform {

// The few colour filters the program runs on pictures, pixel by pixel on a
// copy. Colours are taken as given (no colour management on this platform).
namespace ImageFilters {

struct PixelRectBottomUp {
    int x = 0, y = 0, width = 0, height = 0;
};

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
// Each output channel is the dot product of its vector with the input's
// (r, g, b, a), plus its bias, clamped to 0...1 (the platform's colour
// matrix). Vectors not given leave their channel as it is.
struct ColorMatrix {
    std::array<double, 4> red{1, 0, 0, 0};
    std::array<double, 4> green{0, 1, 0, 0};
    std::array<double, 4> blue{0, 0, 1, 0};
    std::array<double, 4> alpha{0, 0, 0, 1};
    std::array<double, 4> bias{0, 0, 0, 0};
};
Bitmap colorMatrix(const Bitmap& input, const ColorMatrix& matrix);
// The part of `input` inside `rect`, given in pixels from the bottom-left
// corner (y up), cut to the picture.
Bitmap crop(const Bitmap& input, PixelRectBottomUp rect);

}  // namespace ImageFilters

}  // namespace tallowmere::platform
