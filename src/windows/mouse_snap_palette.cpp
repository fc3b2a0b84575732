#include "windows/mouse_snap_palette.h"

#include <algorithm>

#include "windows/dial_geometry.h"
#include "windows/pass_through_window.h"

namespace tallowmere {

using platform::ScreenPoint;
using platform::ScreenRect;

MouseSnapPalette::MouseSnapPalette()
    : size_{side, side},
      paletteView_(MousePaletteView::make({0, 0, side, side})),
      paletteWindow_(makePassThroughWindow(ScreenRect{0, 0, side, side}, windowLevel)) {
    paletteWindow_->setContentView(paletteView_);
}

void MouseSnapPalette::show(ScreenPoint pointer, const std::shared_ptr<platform::Screen>& screen) {
    paletteView_->setSelectedTarget(std::nullopt);

    const double width = size_.width, height = size_.height;
    double x = pointer.x + pointerGap;
    double y = pointer.y - height - pointerGap;
    if (screen) {
        const ScreenRect visible = screen->visibleFrame();
        if (visible.maxX() - edgeMargin < pointer.x + pointerGap + width) x = pointer.x - width - pointerGap;
        x = std::max(x, visible.minX() + edgeMargin);
        x = std::min(x, visible.maxX() - width - edgeMargin);
        y = std::max(y, visible.minY() + edgeMargin);
        y = std::min(y, visible.maxY() - height - edgeMargin);
    }

    paletteWindow_->setAlphaValue(1.0);
    paletteWindow_->setFrame({x, y, width, height}, true);
    paletteWindow_->orderFrontRegardless();
}

std::optional<SnapTarget> MouseSnapPalette::target(ScreenPoint point) const {
    const ScreenRect frame = paletteWindow_->frame();
    if (!paletteWindow_->isVisible() || !frame.contains(point)) return std::nullopt;
    const platform::Point local{point.x - frame.minX(), point.y - frame.minY()};
    return DialGeometry(paletteView_->bounds(), paletteView_->displayScale()).target(local, paletteView_->targets());
}

void MouseSnapPalette::fadeOut(double duration) {
    std::weak_ptr<platform::Window> weakWindow = paletteWindow_;
    paletteWindow_->animateAlphaValue(0, {duration, platform::TimingFunction::easeInEaseOut}, [weakWindow] {
        auto window = weakWindow.lock();
        if (!window) return;
        window->orderOut();
        window->setAlphaValue(1.0);
    });
}

void MouseSnapPalette::reset() {
    paletteView_->setSelectedTarget(std::nullopt);
    paletteWindow_->setAlphaValue(1.0);
    paletteWindow_->orderOut();
}

}  // namespace tallowmere
