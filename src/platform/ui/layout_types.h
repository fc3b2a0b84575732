#pragma once

#include <optional>

namespace tallowmere::platform {

// The vocabulary of the view layout: insets, priorities, how a view sits in
// its superview and what limits its size. Layout is explicit and one pass,
// top-down: a superview places its subviews in `layout()`, then each of them
// lays out its own. There is no constraint solver; what features pin is
// expressed here.

enum class LayoutAxis { horizontal, vertical };

// Distances from the four visual edges. `top` is the visual top whatever the
// view's flippedness (y-up views measure it from maxY, flipped ones from minY).
struct EdgeInsets {
    double top = 0;
    double left = 0;
    double bottom = 0;
    double right = 0;
    constexpr bool operator==(const EdgeInsets&) const = default;
    static constexpr EdgeInsets all(double inset) { return {inset, inset, inset, inset}; }
    constexpr double horizontal() const { return left + right; }
    constexpr double vertical() const { return top + bottom; }
};

// Priorities on the 1...1000 scale, used by stack views to decide which
// arranged view grows (lowest hugging first) or shrinks (lowest compression
// resistance first).
namespace LayoutPriority {
inline constexpr double required = 1000;
inline constexpr double defaultHigh = 750;
inline constexpr double dragThatCannotResizeWindow = 490;
inline constexpr double defaultLow = 250;
inline constexpr double fittingSizeCompression = 50;
}  // namespace LayoutPriority

// Where a view sits inside its superview's bounds, as pins to the superview's
// edges and centre. A superview's default `layout()` applies it. Per axis:
//  - both edges pinned: the view spans between them;
//  - one edge pinned: the view keeps its fitting length against that edge;
//  - centre given: the view keeps its fitting length, centred plus the offset;
//  - nothing: the axis is left as the frame has it.
// Offsets grow rightward and downward (visually), as layout anchors count
// them, so `centerY = 8` sits 8 points below the centre in any view.
struct Placement {
    std::optional<double> leading;
    std::optional<double> trailing;
    std::optional<double> top;
    std::optional<double> bottom;
    std::optional<double> centerX;
    std::optional<double> centerY;

    bool operator==(const Placement&) const = default;

    // Pinned to all four edges with `insets`.
    static Placement filling(EdgeInsets insets = {}) {
        return {insets.left, insets.right, insets.top, insets.bottom, std::nullopt, std::nullopt};
    }
    static Placement centered(double dx = 0, double dy = 0) {
        return {std::nullopt, std::nullopt, std::nullopt, std::nullopt, dx, dy};
    }
};

// Limits on a view's size, as fixed or bounded width and height. A fixed
// length wins over the view's own fitting length and over stretching by a
// stack view or by a two-edge placement.
struct SizeConstraints {
    std::optional<double> width;
    std::optional<double> height;
    std::optional<double> minWidth;
    std::optional<double> minHeight;
    std::optional<double> maxWidth;
    std::optional<double> maxHeight;

    bool operator==(const SizeConstraints&) const = default;

    // `length` along `axis` after the limits of that axis.
    double apply(LayoutAxis axis, double length) const;
    // The fixed length along `axis`, if any.
    std::optional<double> fixed(LayoutAxis axis) const { return axis == LayoutAxis::horizontal ? width : height; }
};

inline double SizeConstraints::apply(LayoutAxis axis, double length) const {
    const bool horizontal = axis == LayoutAxis::horizontal;
    if (auto fixedLength = horizontal ? width : height) return *fixedLength;
    if (auto max = horizontal ? maxWidth : maxHeight; max && length > *max) length = *max;
    if (auto min = horizontal ? minWidth : minHeight; min && length < *min) length = *min;
    return length;
}

}  // namespace tallowmere::platform
