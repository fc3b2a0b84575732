#include "platform/ui/switch.h"

#include "platform/gfx/canvas.h"

namespace tallowmere::platform {

namespace {
constexpr Size trackSize{38, 22};
}

std::shared_ptr<Switch> Switch::make(bool on) {
    auto control = std::shared_ptr<Switch>(new Switch({}));
    control->setOn(on);
    return control;
}

Switch::Switch(Rect frame) : Control(frame) {}

void Switch::setState(ControlState state) {
    // A switch has no mixed state; mixed reads as on, as the platform shows it.
    if (state == ControlState::mixed) state = ControlState::on;
    if (state == state_) return;
    state_ = state;
    setNeedsDisplay();
}

void Switch::performClick() {
    if (!isEnabled()) return;
    setOn(!isOn());
    sendAction();
}

Size Switch::intrinsicContentSize() const { return trackSize; }

void Switch::draw(Canvas& canvas, Rect dirty) {
    (void)dirty;
    const Rect b = bounds();
    const Rect track{b.midX() - trackSize.width / 2, b.midY() - trackSize.height / 2, trackSize.width, trackSize.height};
    canvas.save();
    const Color trackColor = isOn() ? Color::system(SystemColor::controlAccent) : Color::system(SystemColor::gray).withAlphaComponent(0.35);
    canvas.setFillColor(enabledColor(trackColor));
    canvas.fill(Path::roundedRect(track, track.height() / 2));
    const double knob = track.height() - 4;
    const double x = isOn() ? track.maxX() - 2 - knob : track.minX() + 2;
    canvas.setShadow(Shadow{{0, -0.5}, 1.5, Color::black().withAlphaComponent(0.22)});
    canvas.setFillColor(enabledColor(Color::white()));
    canvas.fillEllipse({x, track.midY() - knob / 2, knob, knob});
    canvas.restore();
}

void Switch::mouseDown(const Event& event) {
    (void)event;
    if (!isEnabled()) return;
    tracking_ = true;
    setHighlighted(true);
}

void Switch::mouseUp(const Event& event) {
    if (!tracking_) return;
    tracking_ = false;
    setHighlighted(false);
    if (bounds().contains(locationInView(event))) performClick();
}

void Switch::keyDown(const Event& event) {
    if (event.keyCode == KeyCode::space && isEnabled()) {
        performClick();
        return;
    }
    Control::keyDown(event);
}

}  // namespace tallowmere::platform
