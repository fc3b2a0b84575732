#include "mainwindow/main_window_sizing.h"

#include <algorithm>

namespace tallowmere {

using platform::ScreenRect;

ScreenRect MainWindowSizing::availableFrame(ScreenRect visibleFrame) {
    const double dx = std::min(20.0, std::max(0.0, (visibleFrame.width() - 1) / 2));
    const double dy = std::min(20.0, std::max(0.0, (visibleFrame.height() - 1) / 2));
    return visibleFrame.insetBy(dx, dy);
}

ScreenRect MainWindowSizing::constrainedFrame(ScreenRect proposed, ScreenRect visibleFrame) {
    const ScreenRect available = availableFrame(visibleFrame);
    const double width = std::min(std::max(proposed.width(), 1.0), available.width());
    const double height = std::min(std::max(proposed.height(), 1.0), available.height());
    const double x = std::min(std::max(proposed.origin.x, available.minX()), available.maxX() - width);
    const double y = std::min(std::max(proposed.origin.y, available.minY()), available.maxY() - height);
    return {x, y, width, height};
}

}  // namespace tallowmere
