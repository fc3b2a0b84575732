#include "windows/screen_geometry.h"

#include "platform/desktop/desktop.h"
#include "platform/ui/desktop_link.h"

namespace tallowmere::ScreenGeometry {

using platform::AXPoint;
using platform::AXRect;
using platform::Screen;
using platform::ScreenPoint;
using platform::ScreenRect;

namespace {
platform::ScreenArrangement& arrangement() { return platform::DesktopLink::desktop().screens(); }
}  // namespace

std::shared_ptr<Screen> primaryScreen() {
    for (const auto& screen : arrangement().screens()) {
        if (screen->frame().origin == ScreenPoint{0, 0}) return screen;
    }
    return nullptr;
}

std::shared_ptr<Screen> mainScreen() { return arrangement().mainScreen(); }

double mainHeight() {
    if (auto primary = primaryScreen()) return primary->frame().maxY();
    if (auto main = mainScreen()) return main->frame().maxY();
    const auto screens = arrangement().screens();
    return screens.empty() ? 0 : screens.front()->frame().maxY();
}

AXPoint toAccessibility(ScreenPoint point) { return {point.x, mainHeight() - point.y}; }

ScreenPoint toScreen(AXPoint point) { return {point.x, mainHeight() - point.y}; }

AXRect toAccessibility(const ScreenRect& rect) {
    return {rect.minX(), mainHeight() - rect.maxY(), rect.width(), rect.height()};
}

ScreenRect toScreen(const AXRect& rect) {
    return {rect.minX(), mainHeight() - rect.maxY(), rect.width(), rect.height()};
}

std::shared_ptr<Screen> screenContainingMousePoint(ScreenPoint point) {
    // Half-open containment: a pointer on a shared edge belongs to the screen
    // that starts there, and one on the outer top edge to no screen at all.
    for (const auto& screen : arrangement().screens()) {
        if (screen->frame().contains(point)) return screen;
    }
    return mainScreen();
}

std::shared_ptr<Screen> screenContainingAccessibilityFrame(const AXRect& frame) {
    return screenContainingMousePoint(toScreen(frame.center()));
}

}  // namespace tallowmere::ScreenGeometry
