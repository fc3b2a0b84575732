#include "platform/gfx/image_filters.h"

#include <algorithm>
#include <cmath>

namespace tallowmere::platform {

namespace {

double unit(std::uint8_t channel) { return channel / 255.0; }
std::uint8_t byte(double value) { return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0, 1.0) * 255)); }
// Rec. 709 luma, as the platform's filters weigh the channels.
double luminance(double r, double g, double b) { return 0.2126 * r + 0.7152 * g + 0.0722 * b; }

template <class Change>
Bitmap eachPixel(const Bitmap& input, const Change& change) {
    Bitmap output = input;
    for (int y = 0; y < input.pixelsHigh(); ++y) {
        for (int x = 0; x < input.pixelsWide(); ++x) output.setPixel(x, y, change(input.pixel(x, y)));
    }
    return output;
}

}  // namespace

Bitmap ImageFilters::colorControls(const Bitmap& input, double saturation, double brightness, double contrast) {
    return eachPixel(input, [&](Pixel p) {
        const double r = unit(p.red), g = unit(p.green), b = unit(p.blue);
        const double grey = luminance(r, g, b);
        auto adjust = [&](double channel) {
            const double saturated = grey + (channel - grey) * saturation;
            return (saturated - 0.5) * contrast + 0.5 + brightness;
        };
        return Pixel{byte(adjust(r)), byte(adjust(g)), byte(adjust(b)), p.alpha};
    });
}

Bitmap ImageFilters::colorInvert(const Bitmap& input) {
    return eachPixel(input, [](Pixel p) {
        return Pixel{static_cast<std::uint8_t>(255 - p.red), static_cast<std::uint8_t>(255 - p.green),
                     static_cast<std::uint8_t>(255 - p.blue), p.alpha};
    });
}

Bitmap ImageFilters::maskToAlpha(const Bitmap& input) {
    return eachPixel(input, [](Pixel p) {
        const double level = luminance(unit(p.red), unit(p.green), unit(p.blue)) * unit(p.alpha);
        return Pixel{255, 255, 255, byte(level)};
    });
}

Bitmap ImageFilters::darkStrokesToAlpha(const Bitmap& input) {
    return maskToAlpha(colorInvert(colorControls(input, 0, 0, 1.8)));
}

Bitmap ImageFilters::colorMatrix(const Bitmap& input, const ColorMatrix& matrix) {
    Bitmap output = input;
    const auto channel = [](const std::array<double, 4>& vector, const double (&in)[4], double bias) {
        const double value = vector[0] * in[0] + vector[1] * in[1] + vector[2] * in[2] + vector[3] * in[3] + bias;
        return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0, 1.0) * 255));
    };
    for (auto& pixel : output.pixels()) {
        const double in[4] = {pixel.red / 255.0, pixel.green / 255.0, pixel.blue / 255.0, pixel.alpha / 255.0};
        pixel = {channel(matrix.red, in, matrix.bias[0]), channel(matrix.green, in, matrix.bias[1]),
                 channel(matrix.blue, in, matrix.bias[2]), channel(matrix.alpha, in, matrix.bias[3])};
    }
    return output;
}

Bitmap ImageFilters::crop(const Bitmap& input, PixelRectBottomUp rect) {
    const int left = std::clamp(rect.x, 0, input.pixelsWide());
    const int right = std::clamp(rect.x + std::max(rect.width, 0), 0, input.pixelsWide());
    const int bottom = std::clamp(rect.y, 0, input.pixelsHigh());
    const int top = std::clamp(rect.y + std::max(rect.height, 0), 0, input.pixelsHigh());
    Bitmap output(right - left, top - bottom, input.scale());
    // Rows are stored from the top.
    const int firstRow = input.pixelsHigh() - top;
    for (int y = 0; y < output.pixelsHigh(); ++y) {
        for (int x = 0; x < output.pixelsWide(); ++x) output.setPixel(x, y, input.pixel(left + x, firstRow + y));
    }
    return output;
}

}  // namespace tallowmere::platform
