#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/font.h"
#include "platform/gfx/geometry.h"

namespace tallowmere::platform {

class Menu;
class MenuItem;

// Where an open menu and each of its rows sit on screen. Hidden items take
// no room; separators are thin rows; a custom view row is as high as the view.
struct MenuLayout {
    static constexpr double rowHeight = 22;
    static constexpr double separatorHeight = 11;
    static constexpr double verticalPadding = 5;
    static constexpr double stateColumnWidth = 22;  // the check mark
    static constexpr double imageWidth = 16;
    static constexpr double imageSpacing = 6;
    static constexpr double keyEquivalentGap = 24;
    static constexpr double trailingPadding = 20;  // room for the submenu arrow

    struct Row {
        std::shared_ptr<MenuItem> item;
        ScreenRect frame;
    };

    ScreenRect frame;
    std::vector<Row> rows;
    bool showsImages = false;
    Font font = Font::menuFont();

    // Lays `menu` out with its top-left corner at `topLeft`, moved as needed
    // to stay inside `bounds` (the screen it opens on).
    static MenuLayout make(const Menu& menu, ScreenPoint topLeft, ScreenRect bounds);

    // The row under `point`, if any.
    const Row* rowAt(ScreenPoint point) const;
    const Row* rowOf(const MenuItem& item) const;

    // What a person reads as the item's key equivalent ("⌘S"); empty for none.
    static std::string keyEquivalentText(const MenuItem& item);
};

}  // namespace tallowmere::platform
