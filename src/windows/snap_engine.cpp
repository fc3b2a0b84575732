#include "windows/snap_engine.h"

#include <algorithm>
#include <cmath>

#include "windows/screen_geometry.h"

namespace tallowmere {

using platform::AXRect;

namespace {

struct Extent {
    double start;
    double length;
};

// One axis of the work area [start, start + length): halves are floored for
// the leading piece and the trailing piece takes the rest.
Extent span(SnapSpan how, double start, double length, double current, double centredShare) {
    const double half = std::floor(length * 0.5);
    switch (how) {
        case SnapSpan::leading: return {start, half};
        case SnapSpan::whole: return {start, length};
        case SnapSpan::trailing: return {start + half, length - half};
        case SnapSpan::centred: {
            // Never enlarged, only shrunk to the cap.
            const double centred = std::min(current, length * centredShare);
            return {start + length * 0.5 - centred * 0.5, centred};
        }
    }
    return {start, length};
}

}  // namespace

std::optional<AXRect> SnapEngine::targetFrame(const AXRect& current, SnapTarget target,
                                              std::shared_ptr<platform::Screen> screen) const {
    if (!screen) screen = ScreenGeometry::screenContainingAccessibilityFrame(current);
    if (!screen) screen = ScreenGeometry::mainScreen();
    if (!screen) return std::nullopt;

    const AXRect work = ScreenGeometry::toAccessibility(screen->visibleFrame());
    const auto& row = info(target);
    const Extent x = span(row.horizontal, work.minX(), work.width(), current.width(), centredWidthShare);
    const Extent y = span(row.vertical, work.minY(), work.height(), current.height(), centredHeightShare);
    return AXRect{x.start, y.start, x.length, y.length}.integral();
}

}  // namespace tallowmere
