#include "platform/gfx/canvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tallowmere::platform {
namespace {

bool finite(double v) { return std::isfinite(v); }
bool finite(Point p) { return finite(p.x) && finite(p.y); }
bool finite(Rect r) { return finite(r.origin) && finite(r.size.width) && finite(r.size.height); }

}  // namespace

Canvas::Canvas(Size size, double scale) : size_(size), scale_(scale), appearance_(currentAppearance()) {}

void Canvas::save() {
    saved_.push_back(state_);
    onSave();
}

void Canvas::restore() {
    if (saved_.empty()) return;
    state_ = saved_.back();
    saved_.pop_back();
    onRestore();
}

void Canvas::translate(double dx, double dy) { concat(AffineTransform::translation(dx, dy)); }
void Canvas::scale(double sx, double sy) { concat(AffineTransform::scaling(sx, sy)); }
void Canvas::rotate(double radians) { concat(AffineTransform::rotation(radians)); }

void Canvas::concat(const AffineTransform& transform) {
    // A transform with NaN or infinity would poison everything drawn after it.
    if (!finite(transform.a) || !finite(transform.b) || !finite(transform.c) || !finite(transform.d) ||
        !finite(transform.tx) || !finite(transform.ty))
        return;
    state_.transform = state_.transform.concatenating(transform);
}

void Canvas::setLineWidth(double width) {
    if (finite(width) && width >= 0) state_.lineWidth = width;
}

void Canvas::setMiterLimit(double limit) {
    if (finite(limit) && limit >= 1) state_.miterLimit = limit;
}

void Canvas::setLineDash(std::vector<double> pattern, double phase) {
    const bool usable = std::all_of(pattern.begin(), pattern.end(), [](double v) { return finite(v) && v >= 0; }) &&
                        std::any_of(pattern.begin(), pattern.end(), [](double v) { return v > 0; });
    state_.lineDash = usable ? LineDash{std::move(pattern), finite(phase) ? phase : 0} : LineDash{};
}

void Canvas::setShadow(std::optional<Shadow> shadow) {
    if (shadow && (!finite(shadow->offset.width) || !finite(shadow->offset.height) || !finite(shadow->blurRadius)))
        shadow.reset();
    if (shadow) shadow->blurRadius = std::max(0.0, shadow->blurRadius);
    state_.shadow = std::move(shadow);
}

void Canvas::setAlpha(double alpha) { state_.alpha = std::isnan(alpha) ? 0 : std::clamp(alpha, 0.0, 1.0); }

void Canvas::fill(const Path& path, FillRule rule) {
    if (!path.isEmpty() && path.isFinite()) onFill(path, rule);
}

void Canvas::stroke(const Path& path) {
    if (!path.isEmpty() && path.isFinite()) onStroke(path);
}

void Canvas::clip(const Path& path, FillRule rule) {
    // A path that cannot be drawn clips everything away, as an empty one does.
    onClip(path.isFinite() ? path : Path(), rule);
}

void Canvas::drawLinearGradient(const Gradient& gradient, Point start, Point end) {
    if (finite(start) && finite(end)) onLinearGradient(gradient, start, end);
}

void Canvas::drawRadialGradient(const Gradient& gradient, Point startCenter, double startRadius, Point endCenter,
                                double endRadius) {
    if (!finite(startRadius) || !finite(endRadius) || !finite(startCenter) || !finite(endCenter)) return;
    onRadialGradient(gradient, startCenter, std::max(0.0, startRadius), endCenter, std::max(0.0, endRadius));
}

void Canvas::drawLinearGradient(const Gradient& gradient, const Path& inPath, double angleDegrees) {
    if (inPath.isEmpty() || !inPath.isFinite() || !finite(angleDegrees)) return;
    const Rect bounds = inPath.bounds();
    const double angle = angleDegrees * std::numbers::pi / 180;
    const double ux = std::cos(angle), uy = std::sin(angle);
    // Half the length of the gradient line such that the lines across it at
    // both ends just touch the farthest corners of the bounds.
    const double half = (std::abs(bounds.width() * ux) + std::abs(bounds.height() * uy)) / 2;
    const Point c = bounds.center();
    save();
    clip(inPath);
    drawLinearGradient(gradient, {c.x - half * ux, c.y - half * uy}, {c.x + half * ux, c.y + half * uy});
    restore();
}

void Canvas::drawRadialGradient(const Gradient& gradient, Rect rect, Point relativeCenter) {
    if (rect.isEmpty() || !finite(rect) || !finite(relativeCenter)) return;
    const Point c = rect.center();
    const Point start{c.x + relativeCenter.x * rect.width() / 2, c.y + relativeCenter.y * rect.height() / 2};
    // The end circle reaches the rect's farthest corner from the start.
    const double radius = std::hypot(rect.width() / 2, rect.height() / 2) + std::hypot(start.x - c.x, start.y - c.y);
    drawRadialGradient(gradient, start, 0, c, radius);
}

void Canvas::drawImage(const Image& image, Rect destination, std::optional<Rect> source, double opacity,
                       CompositingOperation operation) {
    const Size size = image.size();
    if (destination.isEmpty() || !finite(destination) || !(size.width > 0) || !(size.height > 0) ||
        !finite(size.width) || !finite(size.height) || (source && !finite(*source)))
        return;
    onImage(image, destination, source, std::isnan(opacity) ? 0 : std::clamp(opacity, 0.0, 1.0), operation);
}

void Canvas::drawText(const AttributedString& text, Point origin) {
    if (!text.empty() && finite(origin)) onText(text, origin, std::nullopt);
}

void Canvas::drawText(std::string_view text, Point origin, const Font& font, const Color& color) {
    TextAttributes attributes;
    attributes.font = font;
    attributes.foregroundColor = color;
    drawText(AttributedString(std::string(text), attributes), origin);
}

void Canvas::drawText(const AttributedString& text, Rect box) {
    if (text.empty() || !finite(box)) return;
    // The box's start corner is its top in the reading direction: the edge
    // toward +y in user space that faces the device's top.
    const bool flipped = state_.transform.flipsOrientation();
    const Point origin{box.minX(), flipped ? box.minY() : box.maxY()};
    onText(text, origin, box.width());
}

int Canvas::saveForLayerContent() {
    save();
    state_.alpha = 1;
    state_.shadow.reset();
    state_.compositingOperation = CompositingOperation::sourceOver;
    return saveDepth();
}

void Canvas::restoreTo(int depth) {
    while (saveDepth() > depth) restore();  // a drawing that forgot a restore
}

std::unique_ptr<CanvasLayer> Canvas::makeLayer(Rect area, const std::function<void()>& draw) {
    if (area.isEmpty() || !finite(area)) return nullptr;
    const int depth = saveForLayerContent();
    auto layer = onMakeLayer(area, [&] {
        draw();
        restoreTo(depth);
    });
    restore();
    return layer;
}

bool Canvas::drawLayer(const CanvasLayer& layer) { return onDrawLayer(layer); }

bool Canvas::redrawLayer(CanvasLayer& layer, const std::vector<Rect>& changed,
                         const std::function<void(Rect part)>& draw) {
    if (!std::all_of(changed.begin(), changed.end(), [](const Rect& rect) { return finite(rect); })) return false;
    const int depth = saveForLayerContent();
    const bool redrawn = onRedrawLayer(layer, changed, [&](Rect part) {
        draw(part);
        restoreTo(depth);
    });
    restore();
    return redrawn;
}

}  // namespace tallowmere::platform
