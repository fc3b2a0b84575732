#include "selection/clip_toolbar_glyph.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <vector>

#include "platform/gfx/canvas.h"
#include "platform/gfx/path.h"
#include "platform/gfx/symbol_image.h"
#include "platform/gfx/text_measurer.h"

namespace tallowmere {

using platform::Path;
using platform::Point;

namespace {

// One glyph's strokes, in a 16 × 16 box with y growing downward.
Path polyline(std::initializer_list<Point> points) {
    Path path;
    for (const Point& p : points) path.lineTo(p);
    return path;
}
Path line(Point from, Point to) { return Path::line(from, to); }
Path circleIn(double x, double y, double w, double h) { return Path::ellipse({x, y, w, h}); }
Path roundedBox(double x, double y, double w, double h, double radius) { return Path::roundedRect({x, y, w, h}, radius); }

std::vector<Path> strokes(std::string_view name) {
    if (name == "copy") return {polyline({{5, 3}, {5, 1.5}, {13.5, 1.5}, {13.5, 11}, {12, 11}}), roundedBox(2.5, 4.5, 8, 9, 1.5)};
    if (name == "cut")
        return {circleIn(1.5, 2, 4, 4), circleIn(1.5, 10, 4, 4), line({5, 5.5}, {14, 13}), line({5, 10.5}, {14, 3})};
    if (name == "paste") return {polyline({{5, 3}, {3, 3}, {3, 14}, {13, 14}, {13, 3}, {11, 3}}), roundedBox(5, 1.5, 6, 3, 1)};
    if (name == "search") return {circleIn(1.5, 1.5, 9, 9), line({9.5, 9.5}, {14, 14})};
    if (name == "translate")
        return {line({1, 4}, {9, 4}),        line({5, 1.5}, {5, 4}),
                polyline({{7.5, 4}, {6, 7.5}, {2, 11}}), line({3, 6}, {7, 10}),
                polyline({{8.5, 14}, {11.5, 6.5}, {14.5, 14}}), line({9.5, 11.5}, {13.5, 11.5})};
    if (name == "colorPicker")
        return {line({8.5, 2.5}, {13.5, 7.5}), line({10.5, 1.5}, {14.5, 5.5}),
                polyline({{9.5, 4.5}, {4.5, 9.5}, {3.5, 12.5}}), polyline({{11.5, 6.5}, {6.5, 11.5}, {3.5, 12.5}}),
                line({2, 14}, {5, 14})};
    if (name == "screenRuler")
        return {roundedBox(1.5, 4, 13, 8, 1.5), line({4, 4}, {4, 7}), line({6.5, 4}, {6.5, 6}), line({9, 4}, {9, 7}),
                line({11.5, 4}, {11.5, 6})};
    return {polyline({{5.5, 2}, {2, 2}, {2, 5.5}}),     polyline({{10.5, 2}, {14, 2}, {14, 5.5}}),
            polyline({{2, 10.5}, {2, 14}, {5.5, 14}}),  polyline({{10.5, 14}, {14, 14}, {14, 10.5}}),
            line({5.5, 8}, {10.5, 8}),                  line({8, 5.5}, {8, 10.5})};
}

}  // namespace

namespace ClipToolbarGlyph {

platform::Image drawing(std::string_view name) {
    auto image = platform::Image::withHandler({16, 16}, [paths = strokes(name)](platform::Canvas& canvas, platform::Rect) {
        // The shapes are given top-down.
        canvas.translate(0, 16);
        canvas.scale(1, -1);
        canvas.setStrokeColor(platform::Color::black());
        canvas.setLineWidth(1.1);
        canvas.setLineCap(platform::LineCap::round);
        canvas.setLineJoin(platform::LineJoin::round);
        for (const auto& path : paths) canvas.stroke(path);
        return true;
    });
    image.setTemplate(true);
    return image;
}

platform::Image image(std::string_view name) {
    if (name == "colorPicker") {
        if (auto symbol = platform::symbolImage("eyedropper", "取色器", {.pointSize = 12})) {
            symbol->setTemplate(true);
            return *symbol;
        }
    }
    return drawing(name);
}

}  // namespace ClipToolbarGlyph

int selvaneToolbarItemWidth(std::string_view title, int minimum) {
    return selvaneToolbarItemWidth(platform::TextMeasurer::shared().measure(title, platform::Font::systemFont(15)).width,
                                   minimum);
}

int selvaneToolbarItemWidth(double measuredTitleWidth, int minimum) {
    if (!std::isfinite(measuredTitleWidth) || measuredTitleWidth < 0) return minimum;
    const double width = std::ceil(measuredTitleWidth) + 28;
    return width > minimum ? static_cast<int>(std::min(width, 100000.0)) : minimum;
}

}  // namespace tallowmere
