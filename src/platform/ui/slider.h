#pragma once

#include <memory>

#include "platform/ui/control.h"

namespace tallowmere::platform {

// A value between a minimum and a maximum, chosen by dragging a knob along
// a track. A continuous slider runs `onAction` at every change while it is
// dragged; otherwise once when the knob is let go.
class Slider : public Control {
public:
    static std::shared_ptr<Slider> make(double value = 0, double minValue = 0, double maxValue = 1);

    double minValue() const { return minValue_; }
    double maxValue() const { return maxValue_; }
    // A range given backwards is put the right way round.
    void setRange(double minValue, double maxValue);
    double doubleValue() const { return value_; }
    // Clamped to the range; sends nothing.
    void setDoubleValue(double value);
    bool isVertical() const { return vertical_; }
    void setVertical(bool vertical);
    // With tick marks only, values snap to the nearest mark.
    int numberOfTickMarks() const { return tickMarks_; }
    void setNumberOfTickMarks(int count);
    bool allowsTickMarkValuesOnly = false;

    // The bar the knob runs along, in the view's coordinates; a subclass
    // may narrow or move it.
    virtual Rect trackRect() const;
    Rect knobRect() const;
    // The value a point of the view stands for.
    double valueAt(Point point) const;

    std::string accessibilityRole() const override { return "AXSlider"; }
    Size intrinsicContentSize() const override;
    void draw(Canvas& canvas, Rect dirty) override;
    void mouseDown(const Event& event) override;
    void mouseDragged(const Event& event) override;
    void mouseUp(const Event& event) override;

protected:
    explicit Slider(Rect frame);

private:
    void track(const Event& event);

    double minValue_ = 0;
    double maxValue_ = 1;
    double value_ = 0;
    bool vertical_ = false;
    int tickMarks_ = 0;
    bool tracking_ = false;
};

}  // namespace tallowmere::platform
