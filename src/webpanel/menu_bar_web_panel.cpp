#include "webpanel/menu_bar_web_panel.h"

#include <algorithm>
#include <cmath>

namespace tallowmere {

MenuBarWebPanel::MenuBarWebPanel(MakeKey key, platform::ScreenRect contentRect, platform::WindowStyleMask style)
    : Panel(key, contentRect, style) {}

void MenuBarWebPanel::cancelOperation() {
    if (onRequestHide) onRequestHide();
}

void MenuBarWebPanel::sendEvent(const platform::Event& event) {
    if (platform::isKeyEvent(event.type) && ignoresMouseEvents() && alphaValue() <= 0.01) return;
    Panel::sendEvent(event);
}

MenuBarWebSeekSlider::MenuBarWebSeekSlider(platform::Rect frame) : Slider(frame) {}

std::shared_ptr<MenuBarWebSeekSlider> MenuBarWebSeekSlider::make() {
    return std::shared_ptr<MenuBarWebSeekSlider>(new MenuBarWebSeekSlider(platform::Rect{}));
}

double MenuBarWebSeekSlider::fraction(double x, double width) {
    return std::clamp((x - inset) / std::max(width - 2 * inset, 1.0), 0.0, 1.0);
}

platform::Rect MenuBarWebSeekSlider::trackRect() const {
    platform::Rect rect = Slider::trackRect();
    rect.origin.y = std::floor(bounds().size.height / 2 - 3);
    rect.size.height = 6;
    return rect;
}

void MenuBarWebSeekSlider::mouseDown(const platform::Event& event) {
    if (!isEnabled()) return;
    isTrackingProgress_ = true;
    const double x = locationInView(event).x;
    setDoubleValue(minValue() + (maxValue() - minValue()) * fraction(x, bounds().size.width));
    sendAction();
    Slider::mouseDown(event);
}

void MenuBarWebSeekSlider::mouseUp(const platform::Event& event) {
    Slider::mouseUp(event);
    isTrackingProgress_ = false;
}

}  // namespace tallowmere
