#pragma once

#include <cmath>

#include "platform/gfx/geometry.h"

namespace tallowmere::platform {

// x' = a x + c y + tx, y' = b x + d y + ty.
struct AffineTransform {
    double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;

    static constexpr AffineTransform identity() { return {}; }
    static constexpr AffineTransform translation(double dx, double dy) { return {1, 0, 0, 1, dx, dy}; }
    static constexpr AffineTransform scaling(double sx, double sy) { return {sx, 0, 0, sy, 0, 0}; }
    static AffineTransform rotation(double radians) {
        const double cs = std::cos(radians), sn = std::sin(radians);
        return {cs, sn, -sn, cs, 0, 0};
    }

    // First `first`, then this: the point goes through `first` before this.
    constexpr AffineTransform concatenating(const AffineTransform& first) const {
        return {a * first.a + c * first.b,       b * first.a + d * first.b,
                a * first.c + c * first.d,       b * first.c + d * first.d,
                a * first.tx + c * first.ty + tx, b * first.tx + d * first.ty + ty};
    }
    constexpr Point apply(Point p) const { return {a * p.x + c * p.y + tx, b * p.x + d * p.y + ty}; }
    constexpr double determinant() const { return a * d - b * c; }
    constexpr bool isIdentity() const { return *this == AffineTransform{}; }
    // True when the transform turns y-up space into y-down (or the reverse).
    constexpr bool flipsOrientation() const { return determinant() < 0; }

    constexpr bool operator==(const AffineTransform&) const = default;
};

}  // namespace tallowmere::platform
