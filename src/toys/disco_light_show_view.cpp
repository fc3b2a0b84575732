#include "toys/disco_light_show_view.h"

#include <cmath>
#include <numbers>

#include "platform/gfx/canvas.h"
#include "platform/gfx/color.h"
#include "platform/gfx/path.h"

namespace tallowmere {

using namespace platform;

namespace {

constexpr int beamCount = 14;
constexpr int spotCount = 28;
constexpr double pi = std::numbers::pi;

// The fractional part, in [0, 1) also for negative values.
double fraction(double value) {
    double f = value - std::trunc(value);
    if (f < 0) f += 1;
    return f >= 1 ? 0 : f;
}

}  // namespace

void paintLightShow(Canvas& canvas, Size size, Point lightOrigin, double phase, int screenIndex) {
    const double reach = std::hypot(size.width, size.height);
    canvas.save();
    canvas.translate(lightOrigin.x, lightOrigin.y);
    canvas.rotate(phase * 0.37);
    for (int i = 0; i < beamCount; ++i) {
        const double a = i * 2 * pi / beamCount;
        Path beam;
        beam.moveTo({0, 0});
        beam.lineTo({std::cos(a - pi / 34) * reach, std::sin(a - pi / 34) * reach});
        beam.lineTo({std::cos(a + pi / 34) * reach, std::sin(a + pi / 34) * reach});
        beam.close();
        canvas.setFillColor(Color::hsb(fraction(static_cast<double>(i) / beamCount + phase * 0.08), 0.82, 1.0, 0.28));
        canvas.fill(beam);
    }
    canvas.restore();
    for (int j = 0; j < spotCount; ++j) {
        const double k = 47 * j + 31 * screenIndex;
        const double r = (j % 5) + 3;
        const double x = size.width * (std::sin(1.73 * k + 3.1 * phase) + 1) / 2;
        const double y = size.height * (std::cos(1.11 * k - 2.4 * phase) + 1) / 2;
        canvas.setFillColor(Color::hsb(fraction(static_cast<double>(j) / spotCount + phase * 0.06), 0.72, 1.0, 0.72));
        canvas.fillEllipse({x - r, y - r, 2 * r, 2 * r});
    }
}

std::shared_ptr<DiscoLightShowView> DiscoLightShowView::make(Rect frame) {
    return std::make_shared<DiscoLightShowView>(frame);
}

DiscoLightShowView::DiscoLightShowView(Rect frame) : View(frame) {}

void DiscoLightShowView::setPhase(double phase) {
    phase_ = phase;
    setNeedsDisplay();
}

void DiscoLightShowView::mouseDown(const Event& /*event*/) {
    if (auto stop = onStop) stop();
}

void DiscoLightShowView::keyDown(const Event& event) {
    if (event.keyCode != escapeKeyCode) {
        View::keyDown(event);
        return;
    }
    if (auto stop = onStop) stop();
}

void DiscoLightShowView::draw(Canvas& canvas, Rect /*dirty*/) {
    paintLightShow(canvas, bounds().size, lightOrigin, phase_, screenIndex);
}

}  // namespace tallowmere
