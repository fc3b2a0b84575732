#include "mainwindow/disco_light_overlay_view.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/gfx/canvas.h"

namespace tallowmere {

using platform::Color;
using platform::Point;
using platform::SystemColor;

std::shared_ptr<DiscoLightOverlayView> DiscoLightOverlayView::make(platform::Rect frame) {
    return std::shared_ptr<DiscoLightOverlayView>(new DiscoLightOverlayView(frame));
}

DiscoLightOverlayView::DiscoLightOverlayView(platform::Rect frame) : View(frame) { setWantsLayer(true); }

std::array<Color, 8> DiscoLightOverlayView::rayColors() {
    return {Color::system(SystemColor::blue),   Color::system(SystemColor::purple), Color::system(SystemColor::pink),
            Color::system(SystemColor::red),    Color::system(SystemColor::orange), Color::system(SystemColor::yellow),
            Color::system(SystemColor::green),  Color::system(SystemColor::cyan)};
}

void DiscoLightOverlayView::update(Point sourcePoint, double rotation, double intensity) {
    sourcePoint_ = sourcePoint;
    rotation_ = std::isfinite(rotation) ? rotation : 0;
    intensity_ = std::isfinite(intensity) ? std::clamp(intensity, 0.0, 1.0) : 0;
    setNeedsDisplay();
}

void DiscoLightOverlayView::draw(platform::Canvas& canvas, platform::Rect dirty) {
    (void)dirty;
    const auto b = bounds();
    // Longer than the diagonal, so every beam reaches past the screen's edges.
    const double length = 1.18 * std::hypot(b.width(), b.height());
    const double strength = DiscoLightOverlayView::strength(intensity_);
    const double innerAlpha = 0.3 * strength, outerAlpha = 0.035 * strength;
    const auto colors = rayColors();
    const Point s = sourcePoint_;
    const auto at = [&](double angle) { return Point{s.x + length * std::cos(angle), s.y + length * std::sin(angle)}; };
    for (int i = 0; i < beamCount; ++i) {
        const double theta = 2 * std::numbers::pi * i / beamCount + beamTurnRatio * rotation_;
        platform::Path beam;
        beam.moveTo(s);
        beam.lineTo(at(theta - halfBeamAngle));
        beam.lineTo(at(theta + halfBeamAngle));
        beam.close();
        const Color& color = colors[static_cast<std::size_t>(i) % colors.size()];
        canvas.save();
        canvas.clip(beam);
        canvas.drawLinearGradient(platform::Gradient(color.withAlphaComponent(innerAlpha), color.withAlphaComponent(outerAlpha)),
                                  s, at(theta));
        canvas.restore();
    }
}

std::shared_ptr<platform::View> DiscoLightOverlayView::hitTest(Point pointInSuperview) {
    (void)pointInSuperview;
    return nullptr;
}

}  // namespace tallowmere
