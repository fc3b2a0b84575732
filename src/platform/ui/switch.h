#pragma once

#include <memory>

#include "platform/ui/control.h"

namespace tallowmere::platform {

// An on/off switch: a pill with a knob. A click, or the space bar while it
// has the keys, flips it and runs `onAction` once; setting the state in code
// sends nothing.
class Switch : public Control {
public:
    static std::shared_ptr<Switch> make(bool on = false);

    ControlState state() const { return state_; }
    void setState(ControlState state);
    bool isOn() const { return state_ == ControlState::on; }
    void setOn(bool on) { setState(on ? ControlState::on : ControlState::off); }

    // Flips the state and runs the action, as a click does; nothing when disabled.
    void performClick();

    std::string accessibilityRole() const override { return "AXCheckBox"; }
    Size intrinsicContentSize() const override;
    void draw(Canvas& canvas, Rect dirty) override;
    void mouseDown(const Event& event) override;
    void mouseUp(const Event& event) override;
    void keyDown(const Event& event) override;
    bool acceptsFirstResponder() const override { return isEnabled(); }

protected:
    explicit Switch(Rect frame);

private:
    ControlState state_ = ControlState::off;
    bool tracking_ = false;
};

}  // namespace tallowmere::platform
