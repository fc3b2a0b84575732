#include "windows/dial_geometry.h"

#include <algorithm>

namespace tallowmere {

using platform::Point;
using platform::Rect;

namespace {

constexpr double diagonal = 0.707;

// Unit steps from the centre, y up; the corners are scaled separately.
struct Offset {
    double x, y;
};

Offset offset(SnapTarget target) {
    switch (target) {
        case SnapTarget::topLeft: return {-1, 1};
        case SnapTarget::top: return {0, 1};
        case SnapTarget::topRight: return {1, 1};
        case SnapTarget::left: return {-1, 0};
        case SnapTarget::maximize:
        case SnapTarget::center: return {0, 0};
        case SnapTarget::right: return {1, 0};
        case SnapTarget::bottomLeft: return {-1, -1};
        case SnapTarget::bottom: return {0, -1};
        case SnapTarget::bottomRight: return {1, -1};
    }
    return {0, 0};
}

bool isCorner(Offset o) { return o.x != 0 && o.y != 0; }

}  // namespace

DialGeometry::DialGeometry(Rect bounds, double displayScale)
    : side_(std::min(bounds.width(), bounds.height())),
      // A view too small for the margin gets no dial rather than an inside-out one.
      diameter_(std::max(0.0, (side_ - margin) * displayScale)),
      center_(bounds.center()) {}

Rect DialGeometry::discRect() const {
    return {center_.x - diameter_ / 2, center_.y - diameter_ / 2, diameter_, diameter_};
}

Point DialGeometry::point(SnapTarget target) const {
    const Offset o = offset(target);
    // The corners sit at 0.72 r on both axes, a little outside the ring.
    const double reach = isCorner(o) ? diagonalShare * ringRadius() : ringRadius();
    return {center_.x + o.x * reach, center_.y + o.y * reach};
}

std::optional<Point> DialGeometry::direction(SnapTarget target) {
    const Offset o = offset(target);
    if (o.x == 0 && o.y == 0) return std::nullopt;
    if (isCorner(o)) return Point{o.x * diagonal, o.y * diagonal};
    return Point{o.x, o.y};
}

std::optional<SnapTarget> DialGeometry::target(Point local, std::span<const SnapTarget> targets) const {
    for (SnapTarget candidate : targets) {
        const double reach = candidate == SnapTarget::maximize ? centreHitRadius : hitRadius;
        if (local.distanceTo(point(candidate)) <= reach) return candidate;
    }
    return std::nullopt;
}

}  // namespace tallowmere
