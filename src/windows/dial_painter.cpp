#include "windows/dial_painter.h"

#include <cmath>
#include <numbers>

namespace tallowmere {

using platform::Color;
using platform::Gradient;
using platform::Path;
using platform::Point;
using platform::Rect;

namespace {

constexpr double degrees = std::numbers::pi / 180;

Color rgb(double r, double g, double b, double a) { return Color::calibratedRGB(r, g, b, a); }
Color white(double level, double a) { return Color::calibratedWhite(level, a); }

Rect square(Point centre, double size) { return {centre.x - size / 2, centre.y - size / 2, size, size}; }

Point along(Point from, Point direction, double distance) {
    return {from.x + direction.x * distance, from.y + direction.y * distance};
}

// The left-hand normal of a direction.
Point normal(Point direction) { return {-direction.y, direction.x}; }

Point onCircle(Point centre, double radius, double angleDegrees) {
    return {centre.x + radius * std::cos(angleDegrees * degrees), centre.y + radius * std::sin(angleDegrees * degrees)};
}

}  // namespace

DialPainter::DialPainter(platform::Canvas& canvas, Rect bounds, WindowDialTheme theme, double displayScale,
                         platform::Image icon)
    : canvas_(canvas), theme_(theme), geometry_(bounds, displayScale), icon_(std::move(icon)) {}

void DialPainter::paint(std::span<const SnapTarget> targets, std::optional<SnapTarget> selected) {
    canvas_.save();
    paintFace();
    for (SnapTarget target : targets) paintTarget(target, selected == target, selected.has_value());
    canvas_.restore();
}

// --- Faces ---------------------------------------------------------------------

void DialPainter::paintFace() {
    const Color bg = background(theme_);
    switch (theme_) {
        case WindowDialTheme::arc:
            paintFlatDisc();
            paintArcFace();
            break;
        case WindowDialTheme::glass:
            paintLinearFace(rgb(1, 1, 1, 0.96), rgb(0.78, 0.92, 1.0, 0.94), -52);
            paintGlassBubbles();
            break;
        case WindowDialTheme::dotmatrix:
            paintFlatDisc();
            paintDotsOnCircle(24, 0.42 * geometry_.diameter(), 2, accent(theme_).withAlphaComponent(0.54),
                              accent(theme_).withAlphaComponent(0.2));
            drawFunnyMarks(geometry_.discRect(), false);
            break;
        case WindowDialTheme::minimal:
            paintFlatDisc();
            drawFunnyMarks(geometry_.discRect(), true);
            break;
        case WindowDialTheme::neumorphism:
            paintFlatDisc();
            paintRing(0.115 * geometry_.diameter(), 0.8, Color::system(platform::SystemColor::blue).withAlphaComponent(0.1));
            break;
        case WindowDialTheme::dark: paintRadialFace(white(0.24, 0.99), white(0.13, 0.99), {-0.24, 0.22}); break;
        case WindowDialTheme::ocean:
            paintLinearFace(rgb(0.98, 1, 1, 0.99), bg, -48);
            paintRing(0.115 * geometry_.diameter(), 1, accent(theme_).withAlphaComponent(0.14));
            break;
        case WindowDialTheme::graphite:
            paintRadialFace(rgb(0.19, 0.22, 0.27, 0.99), white(0.1, 0.99), {-0.24, 0.22});
            paintGraphiteTicks();
            break;
        case WindowDialTheme::sand:
            paintLinearFace(rgb(1, 0.98, 0.93, 0.99), bg, -48);
            paintRing(0.1 * geometry_.diameter(), 1, accent(theme_).withAlphaComponent(0.24),
                      std::vector<double>{2.5, 4});
            break;
        case WindowDialTheme::mint: {
            paintLinearFace(rgb(0.98, 1, 0.99, 0.99), bg, -48);
            const Color dot = accent(theme_).withAlphaComponent(0.4);
            paintDotsOnCircle(4, 0.42 * geometry_.diameter(), 3, dot, dot);
            break;
        }
        case WindowDialTheme::watermelonFlesh: paintWatermelonFlesh(); break;
        case WindowDialTheme::watermelonSlices: paintWatermelonSlices(); break;
        case WindowDialTheme::watermelonNeon: paintWatermelonNeon(); break;
        case WindowDialTheme::watermelonCandy:
            paintLinearFace(rgb(1, 0.72, 0.76, 0.98), rgb(0.68, 0.94, 0.76, 0.98), -38);
            break;
        case WindowDialTheme::chevronBlue: paintLinearFace(rgb(0.98, 1, 1, 0.99), bg, -45); break;
        case WindowDialTheme::tallowbyDog: paintIcon(); break;
        case WindowDialTheme::chevronGlass: paintLinearFace(white(1, 0.86), white(1, 0.48), -48); break;
        case WindowDialTheme::chevronFrostedGlass:
            paintLinearFace(rgb(1, 1, 1, 0.84), rgb(0.66, 0.88, 0.98, 0.62), -52);
            paintGloss();
            break;
        case WindowDialTheme::chevronSmokedGlass: paintLinearFace(white(0.3, 0.86), white(0.055, 0.9), -48); break;
        default: paintFlatDisc(); break;
    }
}

void DialPainter::paintFlatDisc() {
    canvas_.setFillColor(background(theme_));
    canvas_.fillEllipse(geometry_.discRect());
}

void DialPainter::paintLinearFace(const Color& from, const Color& to, double angle) {
    canvas_.drawLinearGradient(Gradient(from, to), Path::ellipse(geometry_.discRect()), angle);
}

void DialPainter::paintRadialFace(const Color& from, const Color& to, Point relativeCentre) {
    canvas_.save();
    canvas_.clip(Path::ellipse(geometry_.discRect()));
    canvas_.drawRadialGradient(Gradient(from, to), geometry_.discRect(), relativeCentre);
    canvas_.restore();
}

void DialPainter::paintRing(double inset, double width, const Color& color, std::optional<std::vector<double>> dash) {
    canvas_.save();
    canvas_.setStrokeColor(color);
    canvas_.setLineWidth(width);
    if (dash) canvas_.setLineDash(*dash, 0);
    canvas_.strokeEllipse(geometry_.discRect().insetBy(inset, inset));
    canvas_.restore();
}

void DialPainter::paintDotsOnCircle(int count, double radius, double size, const Color& first, const Color& second) {
    const double step = 360.0 / count;
    for (int i = 0; i < count; ++i) {
        fillDot(onCircle(geometry_.center(), radius, i * step), size, i % 2 == 0 ? first : second);
    }
}

void DialPainter::paintSeeds(const Color& color) {
    canvas_.setFillColor(color);
    for (int k = 0; k < 8; ++k) {
        const Point at = onCircle(geometry_.center(), 0.385 * geometry_.diameter(), 22.5 + 45 * k);
        canvas_.fillEllipse({at.x - 1.6, at.y - 2.4, 3.2, 4.8});
    }
}

void DialPainter::paintArcFace() {
    const Rect disc = geometry_.discRect();
    const double cx = geometry_.center().x;
    const double baseY = disc.maxY() - 13;
    canvas_.setFillColor(accent(theme_).withAlphaComponent(0.3));
    for (double side : {-1.0, 1.0}) {
        const double mid = cx + side * 0.17 * geometry_.diameter();
        Path ear;
        ear.moveTo({mid - 6, baseY});
        ear.lineTo({mid, baseY + 10});
        ear.lineTo({mid + 6, baseY});
        ear.close();
        canvas_.fill(ear);
    }
    canvas_.setFillColor(accent(theme_).withAlphaComponent(0.22));
    canvas_.fillEllipse({cx - 4, disc.minY() + 11, 8, 6});
    for (double dx : {-6.5, -1.5, 3.5}) canvas_.fillEllipse({cx + dx, disc.minY() + 18, 3, 3});
}

void DialPainter::paintGlassBubbles() {
    struct Bubble {
        double dx, dy, size;
    };
    static constexpr Bubble bubbles[] = {{-16, -22, 8}, {-10, -24, 12}, {1.5, -22.5, 9}, {10, -21, 6}};
    const double cx = geometry_.center().x, top = geometry_.discRect().maxY();
    canvas_.setFillColor(white(1, 0.62));
    for (const auto& b : bubbles) canvas_.fillEllipse({cx + b.dx, top + b.dy, b.size, b.size});
}

void DialPainter::paintGraphiteTicks() {
    canvas_.save();
    canvas_.setStrokeColor(accent(theme_).withAlphaComponent(0.36));
    canvas_.setLineWidth(1);
    const double inner = 0.405 * geometry_.diameter(), outer = 0.435 * geometry_.diameter();
    for (int i = 0; i < 12; ++i) {
        canvas_.strokeLine(onCircle(geometry_.center(), inner, 30 * i), onCircle(geometry_.center(), outer, 30 * i));
    }
    canvas_.restore();
}

void DialPainter::paintWatermelonFlesh() {
    const Rect disc = geometry_.discRect();
    canvas_.setFillColor(rgb(0.08, 0.58, 0.27, 0.99));
    canvas_.fillEllipse(disc);
    canvas_.setFillColor(rgb(0.83, 0.96, 0.72, 1));
    canvas_.fillEllipse(disc.insetBy(4, 4));
    canvas_.drawLinearGradient(Gradient(rgb(1, 0.43, 0.46, 1), rgb(0.92, 0.16, 0.26, 1)), Path::ellipse(disc.insetBy(8, 8)),
                               -45);
    paintSeeds(white(0, 0.58));
}

void DialPainter::paintWatermelonSlices() {
    const Rect disc = geometry_.discRect();
    canvas_.setFillColor(rgb(0.04, 0.55, 0.25, 1));
    canvas_.fillEllipse(disc);
    const double radius = 0.46 * geometry_.diameter();
    for (int i = 0; i < 12; ++i) {
        Path slice;
        slice.moveTo(geometry_.center());
        slice.arc(geometry_.center(), radius, 30.0 * i, 30.0 * (i + 1));
        slice.close();
        canvas_.setFillColor(i % 2 == 0 ? rgb(0.96, 0.22, 0.31, 1) : rgb(0.1, 0.67, 0.32, 1));
        canvas_.fill(slice);
    }
    paintRing(5, 2, white(1, 0.7));
    paintSeeds(white(0, 0.28));
}

void DialPainter::paintWatermelonNeon() {
    // Straight into the disc's shape: the gradient is the clip.
    canvas_.save();
    canvas_.clip(Path::ellipse(geometry_.discRect()));
    canvas_.drawRadialGradient(Gradient(rgb(0.34, 0.02, 0.08, 1), rgb(0.12, 0.01, 0.04, 1)), geometry_.discRect(),
                               {-0.25, 0.2});
    canvas_.restore();
    paintRing(2, 2.2, accent(theme_).withAlphaComponent(0.9));
    paintRing(5, 1, accent(theme_).withAlphaComponent(0.3));
    paintSeeds(rgb(1, 0.22, 0.38, 0.72));
}

void DialPainter::paintIcon() {
    const Rect inner = geometry_.discRect().insetBy(2, 2);
    // Grown past the disc so the dog's face, not the tile's rounded corners,
    // fills the round window.
    const double grow = 0.16 * geometry_.diameter();
    canvas_.save();
    canvas_.clip(Path::ellipse(inner));
    canvas_.setImageInterpolation(platform::ImageInterpolation::high);
    canvas_.drawImage(icon_, inner.insetBy(-grow, -grow), std::nullopt, 1, platform::CompositingOperation::sourceOver);
    canvas_.restore();
}

void DialPainter::paintGloss() {
    Path gloss;
    gloss.arc(geometry_.center(), 0.425 * geometry_.diameter(), 48, 132);
    canvas_.save();
    canvas_.setStrokeColor(white(1, 0.72));
    canvas_.setLineWidth(2.2);
    canvas_.setLineCap(platform::LineCap::round);
    canvas_.stroke(gloss);
    canvas_.restore();
}

// --- Placements -------------------------------------------------------------------

double DialPainter::highlightRadius(WindowDialTheme theme, SnapTarget target) {
    if (target == SnapTarget::maximize) return 12.5;
    return theme == WindowDialTheme::neumorphism ? 14 : 13.5;
}

Color DialPainter::highlightColor(WindowDialTheme theme, SnapTarget target) {
    const auto& row = info(theme);
    const double alpha = theme == WindowDialTheme::tallowbyDog ? 0.92 : 0.94;
    if (row.highlight == DialHighlight::white || (target == SnapTarget::maximize && row.whiteCentreHighlight)) {
        return Color::white().withAlphaComponent(alpha);
    }
    if (row.highlight == DialHighlight::accent) return accent(theme).withAlphaComponent(alpha);
    return Color::system(platform::SystemColor::blue).withAlphaComponent(alpha);
}

void DialPainter::paintTarget(SnapTarget target, bool isSelected, bool anySelected) {
    const auto& row = info(theme_);
    const Point at = geometry_.point(target);

    if (row.marker == DialMarker::petal) {
        if (target == SnapTarget::maximize) drawFlowerCentre(at, isSelected);
        else drawFlowerPetal(at, geometry_.center(), isSelected);
        return;
    }

    if (isSelected) {
        canvas_.setFillColor(highlightColor(theme_, target));
        canvas_.fillEllipse(square(at, 2 * highlightRadius(theme_, target)));
    }
    // The dog stays uncovered until the pointer chooses something.
    if (theme_ == WindowDialTheme::tallowbyDog && !anySelected) return;

    const Color faded = foreground(theme_).withAlphaComponent(0.76);
    const bool isDog = theme_ == WindowDialTheme::tallowbyDog;
    const auto direction = DialGeometry::direction(target);
    if (!direction) {
        drawCenterCircle(at, isSelected ? Color::white() : isDog ? faded : accent(theme_));
        return;
    }

    Color color = isDog ? faded : foreground(theme_);
    if (isSelected) {
        // On the white highlight of the blue sun a white marker would vanish.
        color = theme_ == WindowDialTheme::blueSun ? rgb(0.34, 0.66, 1.0, 0.78) : Color::white();
    }
    if (row.marker == DialMarker::arrow) {
        if (theme_ == WindowDialTheme::minimal) fillDot(at, 3, foreground(theme_).withAlphaComponent(0.58));
        drawArrow(at, *direction, color);
    } else {
        drawChevron(at, *direction, color);
    }
}

void DialPainter::drawArrow(Point at, Point u, const Color& color) {
    const double s = 0.07 * geometry_.side();
    const Point tip = along(at, u, s);
    const Point back = along(tip, u, -0.42 * s);
    const Point n = normal(u);
    const double wing = 0.55 * 0.42 * s;

    canvas_.save();
    canvas_.setStrokeColor(color);
    canvas_.setLineWidth(1.65);
    canvas_.setLineCap(platform::LineCap::round);
    canvas_.setLineJoin(platform::LineJoin::round);
    if (theme_ == WindowDialTheme::dotmatrix) canvas_.setLineDash({1, 3}, 0);
    Path arrow;
    arrow.moveTo(along(at, u, -s));
    arrow.lineTo(tip);
    arrow.moveTo(along(back, n, wing));
    arrow.lineTo(tip);
    arrow.lineTo(along(back, n, -wing));
    canvas_.stroke(arrow);
    canvas_.restore();

    if (theme_ != WindowDialTheme::arc) return;
    const double q = 0.076 * geometry_.side();
    const double heading = std::atan2(u.y, u.x) / degrees;
    Path swing;
    swing.arc(along(at, u, 0.12 * q), q, heading - 68, heading + 68);
    canvas_.save();
    canvas_.setStrokeColor(foreground(theme_).withAlphaComponent(0.4));
    canvas_.setLineWidth(1.2);
    canvas_.setLineCap(platform::LineCap::round);
    canvas_.stroke(swing);
    canvas_.restore();
}

void DialPainter::drawChevron(Point at, Point u, const Color& color) {
    const double a = 0.044 * geometry_.side(), b = 0.048 * geometry_.side();
    const Point base = along(at, u, -a);
    const Point n = normal(u);
    Path chevron;
    chevron.moveTo(along(base, n, b));
    chevron.lineTo(along(at, u, a));
    chevron.lineTo(along(base, n, -b));

    canvas_.save();
    canvas_.setStrokeColor(color);
    canvas_.setLineWidth(theme_ == WindowDialTheme::chevronBlack ? 1.45 : 1.6);
    canvas_.setLineCap(platform::LineCap::round);
    canvas_.setLineJoin(platform::LineJoin::round);
    canvas_.stroke(chevron);
    canvas_.restore();
}

void DialPainter::drawFlowerPetal(Point at, Point around, bool selected) {
    const double length = selected ? 23 : 19, width = selected ? 15 : 12;
    canvas_.save();
    canvas_.translate(at.x, at.y);
    canvas_.rotate(std::atan2(at.y - around.y, at.x - around.x));
    canvas_.setFillColor(selected ? rgb(0.88, 0.06, 0.2, 1) : rgb(1.0, 0.36, 0.5, 0.94));
    canvas_.fillEllipse({-length / 2, -width / 2, length, width});
    canvas_.restore();
}

void DialPainter::drawFlowerCentre(Point at, bool selected) {
    canvas_.setFillColor(selected ? rgb(1.0, 0.64, 0.08, 1) : rgb(1.0, 0.8, 0.22, 1));
    canvas_.fillEllipse(square(at, selected ? 20 : 16));
}

void DialPainter::drawCenterCircle(Point at, const Color& color) {
    canvas_.save();
    if (theme_ == WindowDialTheme::dotmatrix || theme_ == WindowDialTheme::minimal) {
        // A small face in place of the circle.
        fillDot(at.offsetBy(-4.5, 1.5), 2, color);
        canvas_.setStrokeColor(color);
        canvas_.setLineWidth(1);
        if (theme_ == WindowDialTheme::dotmatrix) {
            fillDot(at.offsetBy(2.5, 1.5), 2, color);
        } else {
            canvas_.strokeLine(at.offsetBy(2.5, 2.5), at.offsetBy(5, 1.5));
        }
        Path smile;
        smile.arc(at, 4, 205, 335);
        canvas_.stroke(smile);
        canvas_.restore();
        return;
    }
    const Rect circle = square(at, 0.108 * geometry_.side());
    canvas_.setFillColor(accent(theme_).withAlphaComponent(0.09));
    canvas_.fillEllipse(circle);
    canvas_.setStrokeColor(color);
    canvas_.setLineWidth(theme_ == WindowDialTheme::arc ? 1.5 : 1.7);
    canvas_.strokeEllipse(circle);
    canvas_.restore();
}

void DialPainter::drawFunnyMarks(Rect disc, bool mirrored) {
    canvas_.save();
    canvas_.setStrokeColor(accent(theme_).withAlphaComponent(0.52));
    canvas_.setLineWidth(1.4);
    canvas_.setLineCap(platform::LineCap::round);
    // Mirroring reflects the marks about the disc's vertical middle.
    const auto x = [&](double fromRight) { return mirrored ? disc.minX() + fromRight : disc.maxX() - fromRight; };
    for (int k = 0; k < 3; ++k) {
        canvas_.strokeLine({x(13), disc.maxY() - 13 - 6 * k}, {x(18 + 2 * k), disc.maxY() - 11 - 6 * k});
    }
    canvas_.restore();
}

void DialPainter::fillDot(Point centre, double size, const Color& color) {
    canvas_.setFillColor(color);
    canvas_.fillEllipse(square(centre, size));
}

}  // namespace tallowmere
