#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "platform/gfx/affine_transform.h"
#include "platform/gfx/appearance.h"
#include "platform/gfx/color.h"
#include "platform/gfx/geometry.h"

namespace tallowmere::platform {

enum class LineCap { butt, round, square };
enum class LineJoin { miter, round, bevel };

// How new drawing combines with what is there (Porter-Duff).
enum class CompositingOperation {
    sourceOver,   // the usual: paint over
    sourceAtop,   // paint only where there is something, keeping its alpha
    sourceIn,
    sourceOut,
    destinationOver,
    destinationIn,
    destinationOut,
    copy,         // replace, alpha included
    clear,
    plusLighter,
    multiply,
};

// How images are resampled when drawn at another size.
enum class ImageInterpolation { defaultQuality, none, low, medium, high };

std::string_view rawValue(CompositingOperation operation);
std::string_view rawValue(ImageInterpolation interpolation);

struct Shadow {
    Size offset{};  // in y-up points, so (0, -2) falls below
    double blurRadius = 0;
    Color color = Color::black().withAlphaComponent(1.0 / 3.0);
    bool operator==(const Shadow&) const = default;
};

struct LineDash {
    std::vector<double> pattern{};  // empty: solid
    double phase = 0;
    bool operator==(const LineDash&) const = default;
};

// Everything save() keeps and restore() brings back, except the clip, which
// each backend keeps itself.
struct GraphicsState {
    AffineTransform transform{};  // user space to the canvas's y-up point space
    Color fillColor = Color::black();
    Color strokeColor = Color::black();
    double lineWidth = 1;
    LineCap lineCap = LineCap::butt;
    LineJoin lineJoin = LineJoin::miter;
    double miterLimit = 10;
    LineDash lineDash{};
    double alpha = 1;
    CompositingOperation compositingOperation = CompositingOperation::sourceOver;
    std::optional<Shadow> shadow{};
    ImageInterpolation imageInterpolation = ImageInterpolation::defaultQuality;
    bool operator==(const GraphicsState&) const = default;
};

}  // namespace tallowmere::platform
