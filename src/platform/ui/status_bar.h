#pragma once

#include <memory>
#include <vector>

#include "platform/desktop/screen_arrangement.h"
#include "platform/desktop/status_area.h"
#include "platform/gfx/geometry.h"
#include "platform/runtime/notification_center.h"

namespace tallowmere::platform {

class StatusItem;

// The program's status items in the status area of the menu bar on the
// primary screen, which the desktop keeps with other applications' items
// (`StatusArea`): each new item goes to the left of the items there, a
// person may reorder them with Command held, and an item pushed past the
// left end of the menu bar is not shown. Hidden items take no room. One per
// AppContext.
class StatusBar {
public:
    static constexpr double thickness = ScreenArrangement::menuBarHeight;
    static constexpr double systemItemsWidth = StatusArea::systemItemsWidth;

    StatusBar();
    ~StatusBar();
    static StatusBar& shared();

    StatusBar(const StatusBar&) = delete;
    StatusBar& operator=(const StatusBar&) = delete;

    // A new item, shown at once, to the left of the existing ones.
    std::shared_ptr<StatusItem> statusItem(double length);
    void removeStatusItem(const std::shared_ptr<StatusItem>& item);
    // In order of creation (right to left on screen until a person moves one).
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
    ObserverToken areaObserver_;
};

}  // namespace tallowmere::platform
