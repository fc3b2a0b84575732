#include "webpanel/menu_bar_web_status_button.h"

#include "platform/gfx/canvas.h"
#include "platform/gfx/path.h"
#include "platform/ui/status_bar_button.h"

namespace tallowmere {

using platform::Canvas;
using platform::Color;
using platform::Path;
using platform::Point;
using platform::Rect;

namespace {

Path triangle(Point a, Point b, Point c) {
    Path path;
    path.moveTo(a);
    path.lineTo(b);
    path.lineTo(c);
    path.close();
    return path;
}

}  // namespace

Color MenuBarWebStatusButton::yellow() { return Color::sRGB(248 / 255.0, 189 / 255.0, 57 / 255.0, 1); }

MenuBarWebStatusButton::MenuBarWebStatusButton(Rect frame) : Button(frame) {}

std::shared_ptr<MenuBarWebStatusButton> MenuBarWebStatusButton::make() {
    return std::shared_ptr<MenuBarWebStatusButton>(new MenuBarWebStatusButton(Rect{}));
}

void MenuBarWebStatusButton::setShowsPause(bool showsPause) {
    if (showsPause_ == showsPause) return;
    showsPause_ = showsPause;
    setNeedsDisplay();
}

std::shared_ptr<platform::View> MenuBarWebStatusButton::hitTest(Point) { return nullptr; }

void MenuBarWebStatusButton::viewDidChangeEffectiveAppearance() {
    Button::viewDidChangeEffectiveAppearance();
    setNeedsDisplay();
}

void MenuBarWebStatusButton::draw(Canvas& canvas, Rect dirty) {
    if (usesYellowTint) {
        drawGlyph(canvas);
        return;
    }
    // The outline follows the menu bar's tint, as the item's own button does.
    if (auto button = std::dynamic_pointer_cast<platform::StatusBarButton>(superview())) {
        setContentTintColor(button->contentTintColor());
    }
    Button::draw(canvas, dirty);
    if (drawsYellowPlayIndicator) drawPlayIndicator(canvas);
}

void MenuBarWebStatusButton::drawGlyph(Canvas& canvas) const {
    const Point m = bounds().center();
    canvas.setFillColor(yellow());
    if (showsPause_) {
        canvas.fill(Path::roundedRect({{m.x - 4.5, m.y - 5.5}, {2.5, 11}}, 0.6, 0.6));
        canvas.fill(Path::roundedRect({{m.x + 2.0, m.y - 5.5}, {2.5, 11}}, 0.6, 0.6));
    } else {
        canvas.fill(triangle({m.x - 3.5, m.y - 5.5}, {m.x - 3.5, m.y + 5.5}, {m.x + 5.0, m.y}));
    }
}

void MenuBarWebStatusButton::drawPlayIndicator(Canvas& canvas) const {
    const Point m = bounds().center();
    const Point o{m.x - 10, m.y - 8};
    // The icon's open corner is at its lower right in both kinds of space.
    const bool flipped = isFlipped();
    const double a = flipped ? 14.1 : 1.9;
    const double b = flipped ? 7.9 : 8.1;
    const double c = flipped ? 11.0 : 5.0;
    canvas.setFillColor(yellow());
    canvas.fill(triangle({o.x + 13.3, o.y + a}, {o.x + 13.3, o.y + b}, {o.x + 18.7, o.y + c}));
}

platform::Image makeTallowmereWebIcon(bool includesPlayTriangle) {
    auto image = platform::Image::withHandler({20, 16}, [includesPlayTriangle](Canvas& canvas, Rect) {
        Path outline;
        outline.moveTo({10.5, 2.5});
        outline.lineTo({3.0, 2.5});
        outline.curveTo({2.17, 2.5}, {1.5, 3.17}, {1.5, 4.0});
        outline.lineTo({1.5, 12.0});
        outline.curveTo({1.5, 12.83}, {2.17, 13.5}, {3.0, 13.5});
        outline.lineTo({14.0, 13.5});
        outline.curveTo({14.83, 13.5}, {15.5, 12.83}, {15.5, 12.0});
        outline.lineTo({15.5, 10.5});
        canvas.setStrokeColor(Color::black());
        canvas.setLineWidth(1.2);
        canvas.setLineCap(platform::LineCap::round);
        canvas.setLineJoin(platform::LineJoin::round);
        canvas.stroke(outline);
        if (includesPlayTriangle) {
            canvas.setFillColor(Color::black());
            canvas.fill(triangle({13.3, 1.9}, {13.3, 8.1}, {18.7, 5.0}));
        }
        return true;
    });
    image.setTemplate(true);
    return image;
}

}  // namespace tallowmere
