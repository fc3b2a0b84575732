#include "mainwindow/standard_green_switch.h"

#include "platform/gfx/canvas.h"

namespace tallowmere {

using namespace platform;

std::shared_ptr<StandardGreenSwitch> StandardGreenSwitch::make() {
    return std::shared_ptr<StandardGreenSwitch>(new StandardGreenSwitch());
}

StandardGreenSwitch::StandardGreenSwitch() : Switch({}) {
    setWantsLayer(true);
    setCursor(CursorShape::pointingHand);
}

void StandardGreenSwitch::draw(Canvas& canvas, Rect dirty) {
    (void)dirty;
    const Rect b = bounds();
    // The track keeps its size in a taller or wider row, centred.
    const Rect track{b.midX() - 19, b.midY() - 11, 38, 22};
    canvas.save();
    Color trackColor = Color::system(SystemColor::green);
    if (!isOn()) {
        trackColor = Color::calibratedWhite(effectiveAppearance() == Appearance::dark ? 0.36 : 0.82);
    }
    canvas.setFillColor(trackColor.withAlphaComponent(isEnabled() ? 1.0 : 0.45));
    canvas.fill(Path::roundedRect(track, 11));

    const double knobX = isOn() ? track.maxX() - 20 : track.minX() + 2;
    canvas.setShadow(Shadow{{0, -0.5}, 1.5, Color::black().withAlphaComponent(0.22)});
    canvas.setFillColor(Color::white().withAlphaComponent(isEnabled() ? 1.0 : 0.72));
    canvas.fillEllipse({knobX, track.midY() - 9, 18, 18});
    canvas.restore();
}

void StandardGreenSwitch::mouseDown(const Event& event) {
    (void)event;
    performClick();
}

void StandardGreenSwitch::mouseUp(const Event& event) { (void)event; }

}  // namespace tallowmere
