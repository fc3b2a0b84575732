#include "windows/layout_screen_mapping.h"

#include <algorithm>
#include <cmath>

#include "platform/desktop/desktop.h"
#include "platform/ui/desktop_link.h"
#include "windows/screen_geometry.h"

namespace tallowmere {

using platform::AXRect;
using platform::Screen;

namespace {

AXRect visibleFrameOf(const Screen& screen) { return ScreenGeometry::toAccessibility(screen.visibleFrame()); }

// How unlike the saved screen a current one is: its centre's distance plus
// half the difference in size, so a screen of the same size in the same
// place wins, and among far screens the one of the nearest size.
double distance(const AXRect& visible, const AXRect& saved) {
    return std::abs(visible.midX() - saved.midX()) + std::abs(visible.midY() - saved.midY()) +
           (std::abs(visible.width() - saved.width()) + std::abs(visible.height() - saved.height())) * 0.5;
}

std::shared_ptr<Screen> chooseScreen(const WindowSnapshot& window, const AXRect& saved,
                                     const std::vector<std::shared_ptr<Screen>>& screens,
                                     const std::shared_ptr<Screen>& mainScreen) {
    if (window.screenIdentifier) {
        for (const auto& screen : screens) {
            if (screen->displayID() == *window.screenIdentifier) return screen;
        }
    }
    if (screens.empty()) return mainScreen;
    std::shared_ptr<Screen> nearest = screens.front();
    double nearestDistance = distance(visibleFrameOf(*nearest), saved);
    for (const auto& screen : screens) {
        const double d = distance(visibleFrameOf(*screen), saved);
        if (d < nearestDistance) {
            nearest = screen;
            nearestDistance = d;
        }
    }
    return nearest;
}

}  // namespace

AXRect LayoutScreenMapping::targetFrame(const WindowSnapshot& window,
                                        const std::vector<std::shared_ptr<Screen>>& screens,
                                        const std::shared_ptr<Screen>& mainScreen) {
    const AXRect frame = window.frame.rect();
    if (!window.screenFrame || !(window.screenFrame->width > 0) || !(window.screenFrame->height > 0)) return frame;
    const AXRect saved = window.screenFrame->rect();
    const auto screen = chooseScreen(window, saved, screens, mainScreen);
    if (!screen) return frame;

    const AXRect visible = visibleFrameOf(*screen);
    const double sx = visible.width() / saved.width();
    const double sy = visible.height() / saved.height();
    const double w = std::min(std::max(sx * frame.width(), minimumWidth), visible.width());
    const double h = std::min(std::max(sy * frame.height(), minimumHeight), visible.height());
    double x = visible.minX() + sx * (frame.minX() - saved.minX());
    double y = visible.minY() + sy * (frame.minY() - saved.minY());
    x = std::min(std::max(x, visible.minX()), visible.maxX() - w);
    y = std::min(std::max(y, visible.minY()), visible.maxY() - h);

    const double left = std::floor(x), top = std::floor(y);
    return {left, top, std::ceil(x + w) - left, std::ceil(y + h) - top};
}

AXRect LayoutScreenMapping::targetFrame(const WindowSnapshot& window) {
    return targetFrame(window, platform::DesktopLink::desktop().screens().screens(), ScreenGeometry::mainScreen());
}

}  // namespace tallowmere
