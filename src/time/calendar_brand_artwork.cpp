#include "time/calendar_brand_artwork.h"

#include <algorithm>

#include "platform/gfx/path.h"

namespace tallowmere {

namespace CalendarBrandArtwork {

using platform::Canvas;
using platform::Path;
using platform::Point;
using platform::Rect;

void drawPaw(Canvas& canvas, Rect rect, const platform::Color& color) {
    // Drawn in a unit square so the print keeps its proportions in any rect.
    const double side = std::min(rect.width(), rect.height());
    if (!(side > 0)) return;
    const double left = rect.midX() - side / 2, bottom = rect.midY() - side / 2;
    auto at = [&](double x, double y, double w, double h) { return Rect{left + x * side, bottom + y * side, w * side, h * side}; };
    canvas.save();
    canvas.setFillColor(color);
    // The heel pad: wider at the bottom, like a rounded triangle.
    Path heel;
    heel.moveTo({left + 0.5 * side, bottom + 0.56 * side});
    heel.curveTo({left + 0.78 * side, bottom + 0.56 * side}, {left + 0.84 * side, bottom + 0.12 * side},
                 {left + 0.62 * side, bottom + 0.08 * side});
    heel.curveTo({left + 0.55 * side, bottom + 0.07 * side}, {left + 0.45 * side, bottom + 0.07 * side},
                 {left + 0.38 * side, bottom + 0.08 * side});
    heel.curveTo({left + 0.16 * side, bottom + 0.12 * side}, {left + 0.22 * side, bottom + 0.56 * side},
                 {left + 0.5 * side, bottom + 0.56 * side});
    heel.close();
    canvas.fill(heel);
    // Four toes in an arc, the inner two higher.
    canvas.fillEllipse(at(0.04, 0.50, 0.18, 0.24));
    canvas.fillEllipse(at(0.25, 0.68, 0.19, 0.26));
    canvas.fillEllipse(at(0.56, 0.68, 0.19, 0.26));
    canvas.fillEllipse(at(0.78, 0.50, 0.18, 0.24));
    canvas.restore();
}

platform::Image icon(std::string_view name) {
    enum class Glyph { none, previous, next, close };
    const Glyph glyph = name == "previous" ? Glyph::previous
                        : name == "next"   ? Glyph::next
                        : name == "close"  ? Glyph::close
                                           : Glyph::none;
    auto image = platform::Image::withHandler({14, 14}, [glyph](Canvas& canvas, Rect rect) {
        canvas.setStrokeColor(platform::Color::black());
        canvas.setLineWidth(2);
        canvas.setLineCap(platform::LineCap::round);
        canvas.setLineJoin(platform::LineJoin::round);
        const double x = rect.minX(), y = rect.minY(), w = rect.width(), h = rect.height();
        Path path;
        switch (glyph) {
            case Glyph::previous:
                path.moveTo({x + 0.62 * w, y + 0.18 * h});
                path.lineTo({x + 0.32 * w, y + 0.5 * h});
                path.lineTo({x + 0.62 * w, y + 0.82 * h});
                break;
            case Glyph::next:
                path.moveTo({x + 0.38 * w, y + 0.18 * h});
                path.lineTo({x + 0.68 * w, y + 0.5 * h});
                path.lineTo({x + 0.38 * w, y + 0.82 * h});
                break;
            case Glyph::close:
                path.moveTo({x + 0.24 * w, y + 0.24 * h});
                path.lineTo({x + 0.76 * w, y + 0.76 * h});
                path.moveTo({x + 0.76 * w, y + 0.24 * h});
                path.lineTo({x + 0.24 * w, y + 0.76 * h});
                break;
            case Glyph::none:
                return true;
        }
        canvas.stroke(path);
        return true;
    });
    image.setTemplate(true);
    image.setAccessibilityDescription(std::string(name));
    return image;
}

}  // namespace CalendarBrandArtwork

}  // namespace tallowmere
