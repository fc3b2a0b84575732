#pragma once

#include <memory>

#include "platform/gfx/color.h"
#include "platform/ui/control.h"

namespace tallowmere::platform {

// A swatch showing a colour. Clicking an enabled well makes it the active
// one (only one is active at a time) and brings the shared colour panel
// (`ColorPanel`) to the front; colours the person then picks there go to the
// active well, which takes the colour and runs `onAction`.
class ColorWell : public Control {
public:
    static std::shared_ptr<ColorWell> make(Color color = Color::white());

    const Color& color() const { return color_; }
    // Sends nothing.
    void setColor(Color color);
    bool isBordered() const { return bordered_; }
    void setBordered(bool bordered);

    bool isActive() const { return active_; }
    // An exclusive activation deactivates every other well.
    void activate(bool exclusive);
    void deactivate();

    // The well the colour panel's choice goes to, if any.
    static std::shared_ptr<ColorWell> activeWell();
    // What the colour panel calls when the person picks `color`: the active
    // well takes it and runs its action. False when no well is active.
    static bool deliverPanelColor(const Color& color);

    std::string accessibilityRole() const override { return "AXColorWell"; }
    Size intrinsicContentSize() const override { return {44, 23}; }
    void draw(Canvas& canvas, Rect dirty) override;
    void mouseDown(const Event& event) override;

protected:
    ColorWell() : Control({}) {}

private:
    Color color_ = Color::white();
    bool bordered_ = true;
    bool active_ = false;
};

}  // namespace tallowmere::platform
