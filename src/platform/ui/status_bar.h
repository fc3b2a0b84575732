#pragma once

#include <memory>
#include <vector>

#include "platform/desktop/screen_arrangement.h"
#include "platform/gfx/geometry.h"
#include "platform/runtime/notification_center.h"

namespace tallowmere::platform {

class StatusItem;

// The status area of the menu bar on the primary screen. Items are laid out
// from the right, each new item to the left of the ones made before it; the
// system's own items (the clock) take the rightmost `systemItemsWidth`
// points. Hidden items take no room. One per AppContext.
class StatusBar {
public:
    static constexpr double thickness = ScreenArrangement::menuBarHeight;
    static constexpr double systemItemsWidth = 96;

    StatusBar();
    ~StatusBar();
    static StatusBar& shared();

    StatusBar(const StatusBar&) = delete;
    StatusBar& operator=(const StatusBar&) = delete;

    // A new item, shown at once, to the left of the existing ones.
    std::shared_ptr<StatusItem> statusItem(double length);
    void removeStatusItem(const std::shared_ptr<StatusItem>& item);
    // In order of creation, right to left on screen.
    const std::vector<std::shared_ptr<StatusItem>>& items() const { return items_; }

    // The menu bar of the primary screen, in screen space.
    ScreenRect menuBarFrame() const;
    // The visible item at a point, if any.
    std::shared_ptr<StatusItem> itemAt(ScreenPoint point) const;

    // Places every item again (after a length, visibility or screen change).
    void layout();

private:
    std::vector<std::shared_ptr<StatusItem>> items_;
    ObserverToken screensObserver_;
};

}  // namespace tallowmere::platform
