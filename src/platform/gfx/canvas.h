#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/gfx/affine_transform.h"
#include "platform/gfx/appearance.h"
#include "platform/gfx/attributed_string.h"
#include "platform/gfx/color.h"
#include "platform/gfx/font.h"
#include "platform/gfx/geometry.h"
#include "platform/gfx/gradient.h"
#include "platform/gfx/graphics_state.h"
#include "platform/gfx/image.h"
#include "platform/gfx/path.h"

namespace tallowmere::platform {

// What a backend keeps of some drawing to paint it again as it was, without
// drawing it anew: the backing store of a layer (see Canvas::makeLayer).
class CanvasLayer {
public:
    virtual ~CanvasLayer() = default;
};

// A drawing surface. User space starts as the surface's point space with the
// origin at the bottom-left and y up, as in an unflipped view; a flipped view
// turns it round itself (translate to the top, scale y by -1).
//
// Colours are kept as given; dynamic ones resolve against `appearance()` when
// the backend paints. Text glyphs always stand upright: a text's box starts at
// its origin and grows toward +y of user space (so the origin is the box's
// bottom-left in y-up space and its top-left in a flipped one).
//
// Input that cannot be drawn (NaN or infinite coordinates, an empty image)
// draws nothing and leaves the canvas usable.
//
// The backends: `RecordingCanvas` (what was drawn, for tests) and
// `CairoCanvas` (pixels).
class Canvas {
public:
    virtual ~Canvas() = default;
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    Size size() const { return size_; }
    double backingScale() const { return scale_; }
    Appearance appearance() const { return appearance_; }
    void setAppearance(Appearance appearance) { appearance_ = appearance; }

    // State. A restore() without a matching save() is ignored.
    void save();
    void restore();
    int saveDepth() const { return static_cast<int>(saved_.size()); }
    const GraphicsState& state() const { return state_; }

    void translate(double dx, double dy);
    void scale(double sx, double sy);
    void rotate(double radians);
    void concat(const AffineTransform& transform);
    const AffineTransform& transform() const { return state_.transform; }

    void setFillColor(const Color& color) { state_.fillColor = color; }
    void setStrokeColor(const Color& color) { state_.strokeColor = color; }
    // Both fill and stroke.
    void setColor(const Color& color) { state_.fillColor = state_.strokeColor = color; }
    void setLineWidth(double width);
    void setLineCap(LineCap cap) { state_.lineCap = cap; }
    void setLineJoin(LineJoin join) { state_.lineJoin = join; }
    void setMiterLimit(double limit);
    // Negative or non-finite lengths, or all zero, make the line solid.
    void setLineDash(std::vector<double> pattern, double phase = 0);
    // Multiplies every later drawing's opacity (clamped to 0...1).
    void setAlpha(double alpha);
    void setCompositingOperation(CompositingOperation operation) { state_.compositingOperation = operation; }
    // A shadow with a non-finite offset or blur is no shadow; a negative blur is 0.
    void setShadow(std::optional<Shadow> shadow);
    void setImageInterpolation(ImageInterpolation interpolation) { state_.imageInterpolation = interpolation; }

    // Paths.
    void fill(const Path& path, FillRule rule = FillRule::nonZero);
    void stroke(const Path& path);
    // Intersects the clip with the path; restore() widens it again.
    void clip(const Path& path, FillRule rule = FillRule::nonZero);

    void fillRect(Rect rect) { fill(Path::rect(rect)); }
    void strokeRect(Rect rect) { stroke(Path::rect(rect)); }
    void fillRoundedRect(Rect rect, double radius) { fill(Path::roundedRect(rect, radius)); }
    void strokeRoundedRect(Rect rect, double radius) { stroke(Path::roundedRect(rect, radius)); }
    void fillEllipse(Rect rect) { fill(Path::ellipse(rect)); }
    void strokeEllipse(Rect rect) { stroke(Path::ellipse(rect)); }
    void strokeLine(Point from, Point to) { stroke(Path::line(from, to)); }
    void clipToRect(Rect rect) { clip(Path::rect(rect)); }

    // Gradients fill the whole clip area, extended past their ends.
    void drawLinearGradient(const Gradient& gradient, Point start, Point end);
    void drawRadialGradient(const Gradient& gradient, Point startCenter, double startRadius, Point endCenter,
                            double endRadius);
    // The gradient across the path's bounds at `angleDegrees` (0 runs left to
    // right, 90 bottom to top), clipped to the path.
    void drawLinearGradient(const Gradient& gradient, const Path& inPath, double angleDegrees);
    // From a point at `relativeCenter` (-1...1 on each axis, 0 the middle) of
    // `rect` out to a circle around the rect's middle that covers the rect;
    // drawn within the current clip.
    void drawRadialGradient(const Gradient& gradient, Rect rect, Point relativeCenter);

    // `source` is part of the image in its own points, y up; whole image when absent.
    void drawImage(const Image& image, Rect destination, std::optional<Rect> source = std::nullopt,
                   double opacity = 1, CompositingOperation operation = CompositingOperation::sourceOver);

    // One or more lines from `origin` (see above).
    void drawText(const AttributedString& text, Point origin);
    void drawText(std::string_view text, Point origin, const Font& font, const Color& color);
    // Wrapped to the box's width, starting at its top (the edge toward -y in
    // a flipped space, +y otherwise); not clipped to the box.
    void drawText(const AttributedString& text, Rect box);

    // Layers. `makeLayer` runs `draw` (drawing through this canvas, from the
    // current state at full opacity, without shadow) into a new layer that
    // covers `area` of user space: cut to it and to the canvas, but not to
    // the current clip, so the layer serves repaints of any part later. It
    // paints nothing. None when the backend keeps no layers; `draw` has
    // then not run.
    std::unique_ptr<CanvasLayer> makeLayer(Rect area, const std::function<void()>& draw);
    // Paints a layer made by this canvas where it was drawn, with the
    // current alpha, shadow, compositing and clip. False, painting nothing,
    // when the user space, the appearance or the surface drawn on is no
    // longer the layer's: it must be made again.
    bool drawLayer(const CanvasLayer& layer);
    // Draws the `changed` parts (user space, as the layer was made in) of a
    // layer this canvas made again, keeping the rest: a small change costs
    // a small redraw. `draw` is handed the part of user space it redraws
    // (with room for the shadows it cuts), to skip what lies outside. False,
    // changing nothing, when the layer no longer fits or the parts cover
    // most of it: it is then made anew.
    bool redrawLayer(CanvasLayer& layer, const std::vector<Rect>& changed, const std::function<void(Rect part)>& draw);

protected:
    Canvas(Size size, double scale);

    // What each backend does; state() holds the state to draw with.
    virtual void onSave() {}
    virtual void onRestore() {}
    virtual void onFill(const Path& path, FillRule rule) = 0;
    virtual void onStroke(const Path& path) = 0;
    virtual void onClip(const Path& path, FillRule rule) = 0;
    virtual void onLinearGradient(const Gradient& gradient, Point start, Point end) = 0;
    virtual void onRadialGradient(const Gradient& gradient, Point startCenter, double startRadius,
                                  Point endCenter, double endRadius) = 0;
    virtual void onImage(const Image& image, Rect destination, std::optional<Rect> source, double opacity,
                         CompositingOperation operation) = 0;
    // `wrapWidth` present for boxed text; `origin` is then the box's start corner.
    virtual void onText(const AttributedString& text, Point origin, std::optional<double> wrapWidth) = 0;
    // Backends that keep layers override these.
    virtual std::unique_ptr<CanvasLayer> onMakeLayer(Rect area, const std::function<void()>& draw) {
        (void)area;
        (void)draw;
        return nullptr;
    }
    virtual bool onDrawLayer(const CanvasLayer& layer) {
        (void)layer;
        return false;
    }
    virtual bool onRedrawLayer(CanvasLayer& layer, const std::vector<Rect>& changed,
                               const std::function<void(Rect part)>& draw) {
        (void)layer;
        (void)changed;
        (void)draw;
        return false;
    }

private:
    // A layer's content is drawn from the current state at full opacity,
    // without shadow, in normal compositing; returns the depth to come back to.
    int saveForLayerContent();
    void restoreTo(int depth);

    Size size_;
    double scale_ = 1;
    Appearance appearance_;
    GraphicsState state_;
    std::vector<GraphicsState> saved_;
};

}  // namespace tallowmere::platform
