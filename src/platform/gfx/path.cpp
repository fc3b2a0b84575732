#include "platform/gfx/path.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tallowmere::platform {
namespace {

// Control distance that makes a cubic Bézier follow a quarter circle.
constexpr double kappa = 0.5522847498307936;

double radians(double degrees) { return degrees * std::numbers::pi / 180; }

Rect mapRect(const AffineTransform& t, Rect r) {
    const Point a = t.apply({r.minX(), r.minY()}), b = t.apply({r.maxX(), r.maxY()});
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::abs(b.x - a.x), std::abs(b.y - a.y)};
}

}  // namespace

Path Path::rect(Rect r) {
    Path path;
    path.moveTo({r.minX(), r.minY()});
    path.lineTo({r.maxX(), r.minY()});
    path.lineTo({r.maxX(), r.maxY()});
    path.lineTo({r.minX(), r.maxY()});
    path.close();
    path.shape_ = RectShape{r};
    return path;
}

Path Path::roundedRect(Rect r, double radiusX, double radiusY) {
    const double rx = std::clamp(std::isfinite(radiusX) ? radiusX : 0, 0.0, r.width() / 2);
    const double ry = std::clamp(std::isfinite(radiusY) ? radiusY : 0, 0.0, r.height() / 2);
    if (rx <= 0 || ry <= 0) {
        Path path = rect(r);
        path.shape_ = RoundedRectShape{r, rx, ry};
        return path;
    }
    const double x0 = r.minX(), y0 = r.minY(), x1 = r.maxX(), y1 = r.maxY();
    const double kx = rx * kappa, ky = ry * kappa;
    Path path;
    path.moveTo({x0 + rx, y0});
    path.lineTo({x1 - rx, y0});
    path.curveTo({x1 - rx + kx, y0}, {x1, y0 + ry - ky}, {x1, y0 + ry});
    path.lineTo({x1, y1 - ry});
    path.curveTo({x1, y1 - ry + ky}, {x1 - rx + kx, y1}, {x1 - rx, y1});
    path.lineTo({x0 + rx, y1});
    path.curveTo({x0 + rx - kx, y1}, {x0, y1 - ry + ky}, {x0, y1 - ry});
    path.lineTo({x0, y0 + ry});
    path.curveTo({x0, y0 + ry - ky}, {x0 + rx - kx, y0}, {x0 + rx, y0});
    path.close();
    path.shape_ = RoundedRectShape{r, rx, ry};
    return path;
}

Path Path::ellipse(Rect r) {
    const double cx = r.midX(), cy = r.midY(), rx = r.width() / 2, ry = r.height() / 2;
    const double kx = rx * kappa, ky = ry * kappa;
    Path path;
    path.moveTo({cx + rx, cy});
    path.curveTo({cx + rx, cy + ky}, {cx + kx, cy + ry}, {cx, cy + ry});
    path.curveTo({cx - kx, cy + ry}, {cx - rx, cy + ky}, {cx - rx, cy});
    path.curveTo({cx - rx, cy - ky}, {cx - kx, cy - ry}, {cx, cy - ry});
    path.curveTo({cx + kx, cy - ry}, {cx + rx, cy - ky}, {cx + rx, cy});
    path.close();
    path.shape_ = EllipseShape{r};
    return path;
}

Path Path::line(Point from, Point to) {
    Path path;
    path.moveTo(from);
    path.lineTo(to);
    path.shape_ = LineShape{from, to};
    return path;
}

void Path::moveTo(Point p) {
    elements_.push_back(MoveTo{p});
    current_ = subpathStart_ = p;
    shape_.reset();
}

void Path::lineTo(Point p) {
    if (!current_) return moveTo(p);
    elements_.push_back(LineTo{p});
    current_ = p;
    shape_.reset();
}

void Path::curveTo(Point control1, Point control2, Point to) {
    if (!current_) moveTo(control1);
    elements_.push_back(CurveTo{control1, control2, to});
    current_ = to;
    shape_.reset();
}

void Path::arc(Point center, double radius, double startDegrees, double endDegrees, bool clockwise) {
    if (!std::isfinite(radius) || !std::isfinite(startDegrees) || !std::isfinite(endDegrees)) return;
    radius = std::abs(radius);
    double sweep;
    if (clockwise) {
        while (endDegrees > startDegrees) endDegrees -= 360;
        sweep = std::max(endDegrees - startDegrees, -360.0);
    } else {
        while (endDegrees < startDegrees) endDegrees += 360;
        sweep = std::min(endDegrees - startDegrees, 360.0);
    }
    auto pointAt = [&](double degrees) {
        return Point{center.x + radius * std::cos(radians(degrees)), center.y + radius * std::sin(radians(degrees))};
    };
    const Point start = pointAt(startDegrees);
    if (current_) lineTo(start);
    else moveTo(start);
    // Cubic pieces of at most 90°, each close to the true circle.
    const int pieces = std::max(1, static_cast<int>(std::ceil(std::abs(sweep) / 90 - 1e-9)));
    const double step = sweep / pieces;
    const double handle = 4.0 / 3.0 * std::tan(radians(step) / 4) * radius;
    for (int i = 0; i < pieces && sweep != 0; ++i) {
        const double a0 = startDegrees + step * i, a1 = a0 + step;
        const Point p0 = pointAt(a0), p1 = pointAt(a1);
        const Point c1{p0.x - handle * std::sin(radians(a0)), p0.y + handle * std::cos(radians(a0))};
        const Point c2{p1.x + handle * std::sin(radians(a1)), p1.y - handle * std::cos(radians(a1))};
        curveTo(c1, c2, p1);
    }
}

void Path::close() {
    if (!current_) return;
    elements_.push_back(Close{});
    current_ = subpathStart_;
    shape_.reset();
}

void Path::append(const Path& other) {
    for (const auto& element : other.elements_) {
        std::visit(
            [this](const auto& e) {
                using E = std::decay_t<decltype(e)>;
                if constexpr (std::is_same_v<E, MoveTo>) moveTo(e.to);
                else if constexpr (std::is_same_v<E, LineTo>) lineTo(e.to);
                else if constexpr (std::is_same_v<E, CurveTo>) curveTo(e.control1, e.control2, e.to);
                else close();
            },
            element);
    }
    if (elements_.size() == other.elements_.size()) shape_ = other.shape_;
}

Rect Path::bounds() const {
    bool any = false;
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    auto add = [&](Point p) {
        if (!any) {
            x0 = x1 = p.x;
            y0 = y1 = p.y;
            any = true;
        }
        x0 = std::min(x0, p.x), x1 = std::max(x1, p.x), y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
    };
    for (const auto& element : elements_) {
        if (const auto* m = std::get_if<MoveTo>(&element)) add(m->to);
        else if (const auto* l = std::get_if<LineTo>(&element)) add(l->to);
        else if (const auto* c = std::get_if<CurveTo>(&element)) add(c->control1), add(c->control2), add(c->to);
    }
    return {x0, y0, x1 - x0, y1 - y0};
}

bool Path::isFinite() const {
    auto finite = [](Point p) { return std::isfinite(p.x) && std::isfinite(p.y); };
    for (const auto& element : elements_) {
        if (const auto* m = std::get_if<MoveTo>(&element); m && !finite(m->to)) return false;
        if (const auto* l = std::get_if<LineTo>(&element); l && !finite(l->to)) return false;
        if (const auto* c = std::get_if<CurveTo>(&element);
            c && !(finite(c->control1) && finite(c->control2) && finite(c->to)))
            return false;
    }
    return true;
}

Path Path::transformed(const AffineTransform& t) const {
    Path result;
    for (const auto& element : elements_) {
        if (const auto* m = std::get_if<MoveTo>(&element)) result.moveTo(t.apply(m->to));
        else if (const auto* l = std::get_if<LineTo>(&element)) result.lineTo(t.apply(l->to));
        else if (const auto* c = std::get_if<CurveTo>(&element))
            result.curveTo(t.apply(c->control1), t.apply(c->control2), t.apply(c->to));
        else result.close();
    }
    // Shapes survive transforms that keep axes axis-aligned.
    if (shape_ && t.b == 0 && t.c == 0) {
        result.shape_ = std::visit(
            [&](const auto& s) -> Shape {
                using S = std::decay_t<decltype(s)>;
                if constexpr (std::is_same_v<S, RectShape>) return RectShape{mapRect(t, s.rect)};
                else if constexpr (std::is_same_v<S, RoundedRectShape>)
                    return RoundedRectShape{mapRect(t, s.rect), s.radiusX * std::abs(t.a), s.radiusY * std::abs(t.d)};
                else if constexpr (std::is_same_v<S, EllipseShape>) return EllipseShape{mapRect(t, s.rect)};
                else return LineShape{t.apply(s.from), t.apply(s.to)};
            },
            *shape_);
    }
    return result;
}

}  // namespace tallowmere::platform
