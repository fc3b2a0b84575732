#include "time/calendar_panel_placement.h"

#include <algorithm>

namespace tallowmere {

namespace CalendarPanelPlacement {

using platform::ScreenRect;

ScreenRect area(const platform::ScreenArrangement& screens, platform::ScreenPoint anchor) {
    if (auto screen = screens.screenContaining(anchor)) return screen->visibleFrame();
    if (auto screen = screens.mainScreen()) return screen->visibleFrame();
    const auto all = screens.screens();
    if (!all.empty()) return all.front()->visibleFrame();
    return fallbackArea;
}

ScreenRect frame(platform::ScreenPoint anchor, ScreenRect area) {
    double x = anchor.x - panelSize.width / 2;
    x = std::max(x, area.minX() + screenMargin);
    x = std::min(x, area.maxX() - panelSize.width - screenMargin);
    double y = anchor.y - panelSize.height - gapBelowAnchor;
    y = std::max(y, area.minY() + screenMargin);
    y = std::min(y, area.maxY() - panelSize.height - screenMargin);
    return {x, y, panelSize.width, panelSize.height};
}

}  // namespace CalendarPanelPlacement

}  // namespace tallowmere
