#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/desktop/event.h"
#include "platform/gfx/geometry.h"

namespace tallowmere::platform {

class NotificationCenter;
class ScreenArrangement;

// What another application shows in the menu bar: a short text or glyph.
struct OtherStatusItemSpec {
    std::string bundleIdentifier;
    std::string title;
    double width = 24;
};

// The status area of the menu bar on the primary screen, as the window
// server keeps it: every application's status items (the program's and the
// others') in one order, right to left from the system's own items. A new
// item goes to the left of those there. A person reorders them by dragging
// one with Command held; an item that the items to its right push past the
// left end of the menu bar is neither drawn nor clickable. Posts
// `didChangeNotification` when the order or the other applications' items
// change (the program's own windows then move). One per desktop.
class StatusArea {
public:
    static constexpr const char* didChangeNotification = "StatusAreaDidChange";
    // The system's own items (the clock) at the right end.
    static constexpr double systemItemsWidth = 96;

    struct Item {
        int identifier = 0;
        bool isOwn = false;  // the program's; drawn by its own window
        OtherStatusItemSpec spec;  // another application's
        double width = 0;  // 0 while hidden
    };

    StatusArea(const ScreenArrangement& screens, NotificationCenter& notifications)
        : screens_(screens), notifications_(notifications) {}
    StatusArea(const StatusArea&) = delete;
    StatusArea& operator=(const StatusArea&) = delete;

    // Another application's item, left of every item there.
    int addOtherItem(OtherStatusItemSpec spec);
    // Removes every item of that application (it quit).
    void removeItems(const std::string& bundleIdentifier);
    // The program's item, left of every item there; its width follows.
    int addOwnItem(double width);
    void setWidth(int identifier, double width);
    void removeItem(int identifier);

    // Right to left.
    const std::vector<Item>& items() const { return items_; }
    const Item* item(int identifier) const;
    ScreenRect menuBarFrame() const;
    // Where an item is; empty while hidden or pushed past the left end.
    ScreenRect frameOf(int identifier) const;
    // The item drawn at a point, if any.
    std::optional<int> itemAt(ScreenPoint point) const;
    // Puts an item at `index` of the right-to-left order.
    void move(int identifier, std::size_t index);

    // Takes a Command-press on an item and the drag and release that
    // follow (the item goes where it is let go), and plain clicks on other
    // applications' items. True when it took the event.
    bool handle(const Event& event);
    // Clicks other applications' items received.
    int clickCount(int identifier) const;

private:
    std::vector<ScreenRect> frames() const;
    std::size_t indexOf(int identifier) const;
    void changed();

    const ScreenArrangement& screens_;
    NotificationCenter& notifications_;
    std::vector<Item> items_;
    int nextIdentifier_ = 1;
    std::optional<int> dragged_;
    // A press on another application's item: its release is taken too.
    bool pressTaken_ = false;
    std::map<int, int> clicks_;
};

}  // namespace tallowmere::platform
