#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/desktop/event.h"
#include "platform/gfx/geometry.h"
#include "platform/ui/menu_layout.h"

namespace tallowmere::platform {

class Menu;
class MenuItem;

// The menu tree that is open on screen, if any: the menu that popped up and
// the submenus opened from it, each with its layout. Clicks and keys go here
// first while a menu is open, as the platform tracks a menu modally: a click
// on an item chooses it, a click elsewhere closes the menus and is used up,
// Escape closes them. One per AppContext.
class MenuTracker {
public:
    static MenuTracker& shared();

    MenuTracker() = default;
    MenuTracker(const MenuTracker&) = delete;
    MenuTracker& operator=(const MenuTracker&) = delete;

    bool isTracking() const { return !open_.empty(); }
    // The menu that popped up, then each open submenu, outermost first.
    std::vector<std::shared_ptr<Menu>> openMenus() const;
    std::shared_ptr<Menu> rootMenu() const;
    const MenuLayout* layoutOf(const Menu& menu) const;
    bool isOpen(const Menu& menu) const;

    // Opens `menu` at `topLeft` on the screen holding that point, closing any
    // menu open before. Updates it through its delegate first.
    void open(const std::shared_ptr<Menu>& menu, ScreenPoint topLeft);
    // Opens the submenu of `item` (an item of an open menu) beside its row,
    // closing deeper submenus of other rows; as hovering over the row does.
    bool openSubmenu(const MenuItem& item);
    // Closes every open menu, innermost first, each telling its delegate.
    void close();
    // Closes the menus, then runs the item's action. False (and nothing
    // done) when the item cannot be chosen.
    bool choose(const std::shared_ptr<MenuItem>& item);

    // A mouse or key event while tracking; true when the menus used it.
    bool handleEvent(const Event& event);

    // Called after a menu opened, with the menu (tests and the viewer).
    std::function<void(const Menu& menu)> onOpen;

private:
    struct OpenMenu {
        std::shared_ptr<Menu> menu;
        MenuLayout layout;
    };
    // The press that opened the menus, while it lasts. Its release leaves
    // them open unless the pointer went to another row first: a click opens
    // a menu and the next click chooses, a drag chooses where it ends.
    struct OpeningPress {
        const MenuItem* row = nullptr;  // under the pointer at the press, if any
        bool leftTheRow = false;
    };

    void openLevel(const std::shared_ptr<Menu>& menu, ScreenPoint topLeft);
    void closeFrom(std::size_t level);

    std::vector<OpenMenu> open_;
    std::optional<OpeningPress> openingPress_;
    std::uint64_t generation_ = 0;
};

// The trace line for a menu that opened: its title and items in order.
std::string describeMenuForTrace(const Menu& menu);

}  // namespace tallowmere::platform
