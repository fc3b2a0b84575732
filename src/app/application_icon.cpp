#include "app/application_icon.h"

#include <numbers>

#include "platform/gfx/canvas.h"

namespace tallowmere::ApplicationIcon {

using platform::Canvas;
using platform::Color;
using platform::Gradient;
using platform::Path;
using platform::Point;
using platform::Rect;

namespace {

// The art is laid out on a unit square, y up.
Rect unitEllipse(double cx, double cy, double width, double height) {
    return {cx - width / 2, cy - height / 2, width, height};
}

void fillTurnedEllipse(Canvas& canvas, Point centre, double width, double height, double degrees,
                       const Color& color) {
    canvas.save();
    canvas.translate(centre.x, centre.y);
    canvas.rotate(degrees * std::numbers::pi / 180);
    canvas.setFillColor(color);
    canvas.fillEllipse(unitEllipse(0, 0, width, height));
    canvas.restore();
}

// A four-pointed star: the sparkle of the tile's corner.
Path sparkle(Point centre, double radius) {
    Path path;
    const double waist = radius * 0.22;
    path.moveTo({centre.x, centre.y + radius});
    path.curveTo({centre.x + waist * 0.4, centre.y + waist}, {centre.x + waist, centre.y + waist * 0.4},
                 {centre.x + radius, centre.y});
    path.curveTo({centre.x + waist, centre.y - waist * 0.4}, {centre.x + waist * 0.4, centre.y - waist},
                 {centre.x, centre.y - radius});
    path.curveTo({centre.x - waist * 0.4, centre.y - waist}, {centre.x - waist, centre.y - waist * 0.4},
                 {centre.x - radius, centre.y});
    path.curveTo({centre.x - waist, centre.y + waist * 0.4}, {centre.x - waist * 0.4, centre.y + waist},
                 {centre.x, centre.y + radius});
    path.close();
    return path;
}

void drawTile(Canvas& canvas) {
    const Path tile = Path::roundedRect({0.04, 0.04, 0.92, 0.92}, 0.21);
    canvas.drawLinearGradient(Gradient(Color::sRGB(0.97, 0.45, 0.14), Color::sRGB(1.0, 0.76, 0.34)), tile, 90);
    canvas.setFillColor(Color::sRGB(1, 0.98, 0.9, 0.95));
    canvas.fill(sparkle({0.8, 0.8}, 0.085));
    canvas.setFillColor(Color::sRGB(1, 0.98, 0.9, 0.7));
    canvas.fill(sparkle({0.87, 0.66}, 0.04));
    canvas.fill(sparkle({0.17, 0.82}, 0.035));
}

void drawFace(Canvas& canvas) {
    const Color ear = Color::sRGB(0.5, 0.29, 0.15);
    const Color fur = Color::sRGB(1, 0.95, 0.85);
    const Color ink = Color::sRGB(0.17, 0.1, 0.08);

    fillTurnedEllipse(canvas, {0.26, 0.55}, 0.2, 0.38, -22, ear);
    fillTurnedEllipse(canvas, {0.74, 0.55}, 0.2, 0.38, 22, ear);

    canvas.setFillColor(fur);
    canvas.fillEllipse(unitEllipse(0.5, 0.47, 0.54, 0.5));
    // A brown patch over one eye makes the face this dog's own.
    fillTurnedEllipse(canvas, {0.62, 0.55}, 0.17, 0.14, 18, Color::sRGB(0.86, 0.6, 0.36));
    canvas.setFillColor(Color::white());
    canvas.fillEllipse(unitEllipse(0.5, 0.37, 0.3, 0.2));

    canvas.setFillColor(Color::sRGB(1, 0.55, 0.58, 0.55));
    canvas.fillEllipse(unitEllipse(0.32, 0.41, 0.08, 0.05));
    canvas.fillEllipse(unitEllipse(0.68, 0.41, 0.08, 0.05));

    canvas.setFillColor(ink);
    canvas.fillEllipse(unitEllipse(0.4, 0.52, 0.065, 0.08));
    canvas.fillEllipse(unitEllipse(0.6, 0.52, 0.065, 0.08));
    canvas.setFillColor(Color::white());
    canvas.fillEllipse(unitEllipse(0.41, 0.535, 0.022, 0.022));
    canvas.fillEllipse(unitEllipse(0.61, 0.535, 0.022, 0.022));

    canvas.setFillColor(ink);
    canvas.fillRoundedRect({0.455, 0.405, 0.09, 0.06}, 0.03);

    canvas.setFillColor(Color::sRGB(0.98, 0.45, 0.5));
    canvas.fillEllipse(unitEllipse(0.5, 0.325, 0.06, 0.06));

    Path mouth;
    mouth.moveTo({0.5, 0.405});
    mouth.lineTo({0.5, 0.37});
    mouth.arc({0.46, 0.37}, 0.04, 0, -120, true);
    mouth.moveTo({0.5, 0.37});
    mouth.arc({0.54, 0.37}, 0.04, 180, 300);
    canvas.setStrokeColor(ink);
    canvas.setLineWidth(0.014);
    canvas.setLineCap(platform::LineCap::round);
    canvas.setLineJoin(platform::LineJoin::round);
    canvas.stroke(mouth);
}

}  // namespace

platform::Image image() {
    auto icon = platform::Image::withHandler({side, side}, [](Canvas& canvas, Rect rect) {
        canvas.save();
        canvas.translate(rect.minX(), rect.minY());
        canvas.scale(rect.width(), rect.height());
        drawTile(canvas);
        drawFace(canvas);
        canvas.restore();
        return true;
    });
    icon.setAccessibilityDescription("Tallowmere Sparkwell");
    return icon;
}

}  // namespace tallowmere::ApplicationIcon
