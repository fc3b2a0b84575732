#include "windows/mouse_palette_view.h"

#include <cmath>

#include "app/application_icon.h"
#include "windows/dial_painter.h"

namespace tallowmere {

using platform::Rect;

std::shared_ptr<MousePaletteView> MousePaletteView::make(Rect frame) {
    return std::shared_ptr<MousePaletteView>(new MousePaletteView(frame));
}

MousePaletteView::MousePaletteView(Rect frame)
    : View(frame),
      targets_(allSnapTargets.begin(), allSnapTargets.end() - 1),
      theme_(WindowDialThemePreference::stored()),
      icon_(ApplicationIcon::image()) {
    setWantsLayer(true);
}

void MousePaletteView::setTheme(WindowDialTheme theme) {
    if (theme == theme_) return;
    theme_ = theme;
    setNeedsDisplay();
}

void MousePaletteView::setSelectedTarget(std::optional<SnapTarget> target) {
    if (target == selectedTarget_) return;
    selectedTarget_ = target;
    setNeedsDisplay();
}

void MousePaletteView::setDisplayScale(double scale) {
    if (!std::isfinite(scale) || scale <= 0 || scale == displayScale_) return;
    displayScale_ = scale;
    setNeedsDisplay();
}

void MousePaletteView::setOnThemeStep(std::function<void(int step)> handler) {
    onThemeStep_ = std::move(handler);
    setCursor(onThemeStep_ ? std::optional(platform::CursorShape::pointingHand) : std::nullopt);
}

void MousePaletteView::draw(platform::Canvas& canvas, Rect dirty) {
    View::draw(canvas, dirty);
    DialPainter(canvas, bounds(), theme_, displayScale_, icon_).paint(targets_, selectedTarget_);
}

void MousePaletteView::mouseDown(const platform::Event& event) {
    if (!onThemeStep_) {
        View::mouseDown(event);
        return;
    }
    const auto local = locationInView(event);
    onThemeStep_(local.y >= bounds().midY() ? -1 : +1);
}

}  // namespace tallowmere
