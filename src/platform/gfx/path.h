#pragma once

#include <optional>
#include <variant>
#include <vector>

#include "platform/gfx/affine_transform.h"
#include "platform/gfx/geometry.h"

namespace tallowmere::platform {

enum class FillRule { nonZero, evenOdd };

// A vector path: subpaths of lines and cubic curves. A path made by one of
// the shape factories remembers the shape, so a recording canvas can report
// "a rounded rect of radius 4" rather than its eight segments; adding any
// element afterwards forgets it.
class Path {
public:
    struct MoveTo { Point to; bool operator==(const MoveTo&) const = default; };
    struct LineTo { Point to; bool operator==(const LineTo&) const = default; };
    struct CurveTo {
        Point control1, control2, to;
        bool operator==(const CurveTo&) const = default;
    };
    struct Close { bool operator==(const Close&) const = default; };
    using Element = std::variant<MoveTo, LineTo, CurveTo, Close>;

    struct RectShape { Rect rect; bool operator==(const RectShape&) const = default; };
    struct RoundedRectShape {
        Rect rect;
        double radiusX = 0, radiusY = 0;
        bool operator==(const RoundedRectShape&) const = default;
    };
    struct EllipseShape { Rect rect; bool operator==(const EllipseShape&) const = default; };
    struct LineShape { Point from, to; bool operator==(const LineShape&) const = default; };
    using Shape = std::variant<RectShape, RoundedRectShape, EllipseShape, LineShape>;

    Path() = default;
    static Path rect(Rect rect);
    // Radii are limited to half the rect's width and height.
    static Path roundedRect(Rect rect, double radiusX, double radiusY);
    static Path roundedRect(Rect rect, double radius) { return roundedRect(rect, radius, radius); }
    static Path ellipse(Rect rect);
    static Path line(Point from, Point to);

    void moveTo(Point p);
    void lineTo(Point p);  // from the current point; a moveTo when there is none
    void curveTo(Point control1, Point control2, Point to);
    // Circular arc around `center`, angles in degrees, counter-clockwise in
    // y-up space unless `clockwise`. A line joins the current point to the
    // arc's start, as the arc of a path does on the Mac.
    void arc(Point center, double radius, double startDegrees, double endDegrees, bool clockwise = false);
    void close();
    void append(const Path& other);

    const std::vector<Element>& elements() const { return elements_; }
    bool isEmpty() const { return elements_.empty(); }
    std::optional<Point> currentPoint() const { return current_; }
    const std::optional<Shape>& shape() const { return shape_; }
    // Bounds of all points, control points included (zero rect when empty).
    Rect bounds() const;
    // False when any point is NaN or infinite; such a path is not drawn.
    bool isFinite() const;

    Path transformed(const AffineTransform& transform) const;

    bool operator==(const Path&) const = default;

private:
    std::vector<Element> elements_;
    std::optional<Point> current_;
    std::optional<Point> subpathStart_;
    std::optional<Shape> shape_;
};

}  // namespace tallowmere::platform
