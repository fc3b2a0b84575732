#pragma once

#include <algorithm>
#include <cmath>

namespace tallowmere::platform {

// Coordinate spaces, kept apart by type so a frame from one can't be used in
// the other by accident:
//  - ScreenSpace: origin at the bottom-left of the primary screen, y up.
//    Events, screens and the program's own windows.
//  - AXSpace: origin at the top-left of the primary screen, y down.
//    Other applications' windows as Accessibility reports them.
//  - LocalSpace: a view's or canvas's own coordinates.
// Conversion between screen and Accessibility space needs the primary
// screen's height and lives with the screens (platform/desktop).
struct ScreenSpace {};
struct AXSpace {};
struct LocalSpace {};

struct Size {
    double width = 0;
    double height = 0;
    constexpr bool operator==(const Size&) const = default;
};

template <class Space>
struct BasicPoint {
    double x = 0;
    double y = 0;
    constexpr bool operator==(const BasicPoint&) const = default;
    constexpr BasicPoint offsetBy(double dx, double dy) const { return {x + dx, y + dy}; }
    double distanceTo(const BasicPoint& other) const { return std::hypot(other.x - x, other.y - y); }
};

template <class Space>
struct BasicRect {
    BasicPoint<Space> origin;
    Size size;

    constexpr BasicRect() = default;
    constexpr BasicRect(BasicPoint<Space> o, Size s) : origin(o), size(s) {}
    constexpr BasicRect(double x, double y, double width, double height)
        : origin{x, y}, size{width, height} {}

    constexpr bool operator==(const BasicRect&) const = default;

    constexpr double minX() const { return std::min(origin.x, origin.x + size.width); }
    constexpr double maxX() const { return std::max(origin.x, origin.x + size.width); }
    constexpr double minY() const { return std::min(origin.y, origin.y + size.height); }
    constexpr double maxY() const { return std::max(origin.y, origin.y + size.height); }
    constexpr double midX() const { return (minX() + maxX()) / 2; }
    constexpr double midY() const { return (minY() + maxY()) / 2; }
    constexpr double width() const { return maxX() - minX(); }
    constexpr double height() const { return maxY() - minY(); }
    constexpr BasicPoint<Space> center() const { return {midX(), midY()}; }
    constexpr bool isEmpty() const { return size.width <= 0 || size.height <= 0; }

    // Half-open on the max edges, like the Mac's rectangle containment.
    constexpr bool contains(BasicPoint<Space> p) const {
        return p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY();
    }
    constexpr bool contains(const BasicRect& r) const {
        return r.minX() >= minX() && r.maxX() <= maxX() && r.minY() >= minY() && r.maxY() <= maxY();
    }
    constexpr bool intersects(const BasicRect& r) const {
        return r.minX() < maxX() && minX() < r.maxX() && r.minY() < maxY() && minY() < r.maxY();
    }
    // Empty (zero rect) when they do not overlap.
    constexpr BasicRect intersection(const BasicRect& r) const {
        if (!intersects(r)) return {};
        const double x0 = std::max(minX(), r.minX()), y0 = std::max(minY(), r.minY());
        const double x1 = std::min(maxX(), r.maxX()), y1 = std::min(maxY(), r.maxY());
        return {x0, y0, x1 - x0, y1 - y0};
    }
    constexpr BasicRect unionWith(const BasicRect& r) const {
        if (isEmpty()) return r;
        if (r.isEmpty()) return *this;
        const double x0 = std::min(minX(), r.minX()), y0 = std::min(minY(), r.minY());
        const double x1 = std::max(maxX(), r.maxX()), y1 = std::max(maxY(), r.maxY());
        return {x0, y0, x1 - x0, y1 - y0};
    }
    constexpr BasicRect insetBy(double dx, double dy) const {
        return {minX() + dx, minY() + dy, width() - 2 * dx, height() - 2 * dy};
    }
    constexpr BasicRect offsetBy(double dx, double dy) const {
        return {origin.x + dx, origin.y + dy, size.width, size.height};
    }
    // The smallest rectangle of whole points that holds this one: the near
    // edges rounded down, the far edges up, so nothing of it is cut off.
    BasicRect integral() const {
        const double x0 = std::floor(minX()), y0 = std::floor(minY());
        return {x0, y0, std::ceil(maxX()) - x0, std::ceil(maxY()) - y0};
    }
};

using Point = BasicPoint<LocalSpace>;
using Rect = BasicRect<LocalSpace>;
using ScreenPoint = BasicPoint<ScreenSpace>;
using ScreenRect = BasicRect<ScreenSpace>;
using AXPoint = BasicPoint<AXSpace>;
using AXRect = BasicRect<AXSpace>;

// Reinterprets coordinates in another space of the same orientation, for the
// rare place where that is the meaning (a view's rectangle placed on screen).
template <class To, class From>
constexpr BasicRect<To> rect_cast(const BasicRect<From>& r) {
    return {r.origin.x, r.origin.y, r.size.width, r.size.height};
}
template <class To, class From>
constexpr BasicPoint<To> point_cast(const BasicPoint<From>& p) {
    return {p.x, p.y};
}

}  // namespace tallowmere::platform
