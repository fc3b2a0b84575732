#include "platform/gfx/bitmap.h"

#include <algorithm>
#include <cmath>

namespace tallowmere::platform {
namespace {

double usableScale(double scale) { return std::isfinite(scale) && scale > 0 ? scale : 1; }

}  // namespace

Bitmap::Bitmap(int pixelsWide, int pixelsHigh, double scale)
    : width_(std::max(0, pixelsWide)),
      height_(std::max(0, pixelsHigh)),
      scale_(usableScale(scale)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_)) {}

void Bitmap::setScale(double scale) { scale_ = usableScale(scale); }

Pixel Bitmap::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return {};
    return pixels_[static_cast<std::size_t>(y) * width_ + x];
}

void Bitmap::setPixel(int x, int y, Pixel pixel) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[static_cast<std::size_t>(y) * width_ + x] = pixel;
}

Color Bitmap::colorAt(int x, int y) const {
    const Pixel p = pixel(x, y);
    return Color::sRGB(p.red / 255.0, p.green / 255.0, p.blue / 255.0, p.alpha / 255.0);
}

}  // namespace tallowmere::platform
