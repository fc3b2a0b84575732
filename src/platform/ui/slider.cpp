#include "platform/ui/slider.h"

#include <algorithm>
#include <cmath>

#include "platform/gfx/canvas.h"

namespace tallowmere::platform {

namespace {
constexpr double knobDiameter = 16;
constexpr double trackThickness = 4;
}  // namespace

std::shared_ptr<Slider> Slider::make(double value, double minValue, double maxValue) {
    auto slider = std::shared_ptr<Slider>(new Slider({}));
    slider->setRange(minValue, maxValue);
    slider->setDoubleValue(value);
    return slider;
}

Slider::Slider(Rect frame) : Control(frame) { setContinuous(true); }

void Slider::setRange(double minValue, double maxValue) {
    if (!std::isfinite(minValue)) minValue = 0;
    if (!std::isfinite(maxValue)) maxValue = minValue;
    minValue_ = std::min(minValue, maxValue);
    maxValue_ = std::max(minValue, maxValue);
    setDoubleValue(value_);
}

void Slider::setDoubleValue(double value) {
    if (std::isnan(value)) value = minValue_;
    value = std::clamp(value, minValue_, maxValue_);
    if (allowsTickMarkValuesOnly && tickMarks_ > 1 && maxValue_ > minValue_) {
        const double step = (maxValue_ - minValue_) / (tickMarks_ - 1);
        value = minValue_ + std::round((value - minValue_) / step) * step;
    }
    if (value == value_) return;
    value_ = value;
    setNeedsDisplay();
}

void Slider::setVertical(bool vertical) {
    vertical_ = vertical;
    invalidateIntrinsicContentSize();
}

void Slider::setNumberOfTickMarks(int count) {
    tickMarks_ = std::max(0, count);
    setDoubleValue(value_);
    setNeedsDisplay();
}

Rect Slider::trackRect() const {
    const Rect b = bounds();
    const double inset = knobDiameter / 2;
    if (vertical_) return {b.midX() - trackThickness / 2, b.minY() + inset, trackThickness, std::max(0.0, b.height() - 2 * inset)};
    return {b.minX() + inset, b.midY() - trackThickness / 2, std::max(0.0, b.width() - 2 * inset), trackThickness};
}

// The fraction of the range that `value_` is, 0 at the minimum.
static double fractionOf(double value, double minValue, double maxValue) {
    return maxValue > minValue ? (value - minValue) / (maxValue - minValue) : 0;
}

Rect Slider::knobRect() const {
    const Rect track = trackRect();
    const double fraction = fractionOf(value_, minValue_, maxValue_);
    // Vertical sliders grow upward on screen whatever the flippedness.
    const Point center = vertical_ ? Point{track.midX(), isFlipped() ? track.maxY() - fraction * track.height()
                                                                     : track.minY() + fraction * track.height()}
                                   : Point{track.minX() + fraction * track.width(), track.midY()};
    return {center.x - knobDiameter / 2, center.y - knobDiameter / 2, knobDiameter, knobDiameter};
}

double Slider::valueAt(Point point) const {
    const Rect track = trackRect();
    double fraction;
    if (vertical_) {
        fraction = track.height() > 0 ? (point.y - track.minY()) / track.height() : 0;
        if (isFlipped()) fraction = 1 - fraction;
    } else {
        fraction = track.width() > 0 ? (point.x - track.minX()) / track.width() : 0;
    }
    return minValue_ + std::clamp(fraction, 0.0, 1.0) * (maxValue_ - minValue_);
}

Size Slider::intrinsicContentSize() const {
    return vertical_ ? Size{knobDiameter + 4, 100} : Size{100, knobDiameter + 4};
}

void Slider::draw(Canvas& canvas, Rect dirty) {
    (void)dirty;
    const Rect track = trackRect();
    const Rect knob = knobRect();
    canvas.save();
    canvas.setFillColor(enabledColor(Color::system(SystemColor::separator)));
    canvas.fill(Path::roundedRect(track, trackThickness / 2));
    const Rect filled = vertical_ ? Rect{track.minX(), isFlipped() ? knob.midY() : track.minY(), track.width(),
                                         isFlipped() ? track.maxY() - knob.midY() : knob.midY() - track.minY()}
                                  : Rect{track.minX(), track.minY(), knob.midX() - track.minX(), track.height()};
    canvas.setFillColor(enabledColor(Color::system(SystemColor::controlAccent)));
    canvas.fill(Path::roundedRect(filled, trackThickness / 2));
    canvas.setShadow(Shadow{{0, -0.5}, 1.5, Color::black().withAlphaComponent(0.25)});
    canvas.setFillColor(enabledColor(Color::white()));
    canvas.fillEllipse(knob);
    canvas.restore();
}

void Slider::track(const Event& event) {
    const double before = value_;
    setDoubleValue(valueAt(locationInView(event)));
    if (isContinuous() && value_ != before) sendAction();
}

void Slider::mouseDown(const Event& event) {
    if (!isEnabled()) return;
    tracking_ = true;
    setHighlighted(true);
    track(event);
}

void Slider::mouseDragged(const Event& event) {
    if (tracking_) track(event);
}

void Slider::mouseUp(const Event& event) {
    if (!tracking_) return;
    tracking_ = false;
    setHighlighted(false);
    track(event);
    if (!isContinuous()) sendAction();
}

}  // namespace tallowmere::platform
