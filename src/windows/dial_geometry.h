#pragma once

#include <optional>
#include <span>

#include "platform/gfx/geometry.h"
#include "windows/snap_target.h"

namespace tallowmere {

// Where the snap palette's dial and its placements lie in a view's bounds
// (y up). Shared by the hit test and the drawing, so what is drawn is what
// answers the pointer. The dial scales with `displayScale`; the marker sizes
// follow the view's side only.
class DialGeometry {
public:
    // The margin between the dial and the edge of a square view.
    static constexpr double margin = 10;
    static constexpr double ringShare = 0.3;      // ring radius / dial diameter
    static constexpr double diagonalShare = 0.72;  // corner placements, per axis, / ring radius
    static constexpr double hitRadius = 17;
    static constexpr double centreHitRadius = 18;

    DialGeometry(platform::Rect bounds, double displayScale);

    // min(width, height) of the bounds.
    double side() const { return side_; }
    double diameter() const { return diameter_; }
    double ringRadius() const { return ringShare * diameter_; }
    platform::Point center() const { return center_; }
    // The dial disc's square.
    platform::Rect discRect() const;

    // The placement's point on the dial (`center` and `maximize` at the centre).
    platform::Point point(SnapTarget target) const;
    // The way a placement's marker points; none for the centre.
    static std::optional<platform::Point> direction(SnapTarget target);

    // The first of `targets`, in order, whose hit circle holds `local`:
    // circles overlap, and the order settles which one wins.
    std::optional<SnapTarget> target(platform::Point local, std::span<const SnapTarget> targets) const;

private:
    double side_;
    double diameter_;
    platform::Point center_;
};

}  // namespace tallowmere
