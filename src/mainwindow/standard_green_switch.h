#pragma once

#include <memory>

#include "platform/ui/switch.h"

namespace tallowmere {

// The main window's on/off switch: a green pill with a white knob, the same
// in every setting row in light and dark appearance. It flips as the button
// goes down (no tracking) and sends its action once; setting the state in
// code redraws it and sends nothing.
class StandardGreenSwitch : public platform::Switch {
public:
    static std::shared_ptr<StandardGreenSwitch> make();

    platform::Size intrinsicContentSize() const override { return {38, 22}; }
    void draw(platform::Canvas& canvas, platform::Rect dirty) override;
    void mouseDown(const platform::Event& event) override;
    void mouseUp(const platform::Event& event) override;

protected:
    StandardGreenSwitch();
};

}  // namespace tallowmere
