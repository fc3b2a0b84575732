#pragma once

#include <cstdint>
#include <vector>

#include "platform/gfx/color.h"
#include "platform/gfx/geometry.h"

namespace tallowmere::platform {

// One pixel: 8-bit red, green, blue, alpha, not premultiplied.
struct Pixel {
    std::uint8_t red = 0, green = 0, blue = 0, alpha = 0;
    bool operator==(const Pixel&) const = default;
};

// Pixels in rows from the top, with how many pixels make one point. A value;
// copying copies the pixels.
class Bitmap {
public:
    Bitmap() = default;
    // Transparent; negative sizes count as 0, a scale of 0 or less (or NaN) as 1.
    Bitmap(int pixelsWide, int pixelsHigh, double scale = 1);

    int pixelsWide() const { return width_; }
    int pixelsHigh() const { return height_; }
    double scale() const { return scale_; }
    void setScale(double scale);  // same rule as the constructor
    // Size in points: pixels divided by the scale.
    Size size() const { return {width_ / scale_, height_ / scale_}; }
    bool isEmpty() const { return width_ == 0 || height_ == 0; }

    // Out-of-range reads give a transparent pixel; out-of-range writes do nothing.
    Pixel pixel(int x, int y) const;
    void setPixel(int x, int y, Pixel pixel);
    // The pixel as an sRGB colour.
    Color colorAt(int x, int y) const;

    const std::vector<Pixel>& pixels() const { return pixels_; }
    std::vector<Pixel>& pixels() { return pixels_; }

    bool operator==(const Bitmap&) const = default;

private:
    int width_ = 0;
    int height_ = 0;
    double scale_ = 1;
    std::vector<Pixel> pixels_;
};

}  // namespace tallowmere::platform
