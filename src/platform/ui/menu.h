#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/desktop/event.h"
#include "platform/gfx/font.h"
#include "platform/gfx/geometry.h"
#include "platform/ui/menu_item.h"

namespace tallowmere::platform {

class Menu;
class View;

// What a menu's owner hears as the menu opens and closes. Held weakly;
// every method has a do-nothing default.
class MenuDelegate {
public:
    virtual ~MenuDelegate() = default;
    // Before the menu is shown: the moment to rebuild its items.
    virtual void menuNeedsUpdate(Menu& menu) { (void)menu; }
    virtual void menuWillOpen(Menu& menu) { (void)menu; }
    virtual void menuDidClose(Menu& menu) { (void)menu; }
};

// A list of items shown as a pop-up, a status item's menu or a submenu.
// Only one menu tree is open at a time (`MenuTracker` knows which); opening
// another closes the first.
class Menu : public std::enable_shared_from_this<Menu> {
public:
    static std::shared_ptr<Menu> make(std::string title = {});

    Menu(const Menu&) = delete;
    Menu& operator=(const Menu&) = delete;

    const std::string& title() const { return title_; }
    void setTitle(std::string title) { title_ = std::move(title); }
    void setDelegate(std::weak_ptr<MenuDelegate> delegate) { delegate_ = std::move(delegate); }
    std::shared_ptr<MenuDelegate> delegate() const { return delegate_.lock(); }
    // Items without an action or submenu show disabled (the platform's default).
    bool autoenablesItems = true;
    double minimumWidth = 0;
    std::optional<Font> font;

    // --- Items ---------------------------------------------------------------
    const std::vector<std::shared_ptr<MenuItem>>& items() const { return items_; }
    std::size_t numberOfItems() const { return items_.size(); }
    std::shared_ptr<MenuItem> item(std::size_t index) const;
    // The first item with that (displayed) title or tag, this menu only.
    std::shared_ptr<MenuItem> itemWithTitle(const std::string& title) const;
    std::shared_ptr<MenuItem> itemWithTag(std::int64_t tag) const;
    std::optional<std::size_t> indexOf(const MenuItem& item) const;

    // An item can be in one menu at a time; adding it moves it here.
    void addItem(std::shared_ptr<MenuItem> item);
    std::shared_ptr<MenuItem> addItem(std::string title, MenuItem::Action action = {}, std::string keyEquivalent = {});
    void addSeparator();
    void insertItem(std::shared_ptr<MenuItem> item, std::size_t index);
    void removeItem(const std::shared_ptr<MenuItem>& item);
    void removeAllItems();

    // The item whose submenu this menu is, if any.
    std::shared_ptr<MenuItem> parentItem() const { return parentItem_.lock(); }
    std::shared_ptr<Menu> supermenu() const;

    // --- Showing -------------------------------------------------------------
    // Opens the menu with its top-left corner at `location` (moved to stay
    // on the screen), after asking the delegate to update it. Returns at
    // once; the menu stays open until an item is chosen or it is dismissed.
    // `positioning` is the item to place under the pointer (none here, kept
    // for callers that name one).
    void popUp(const std::shared_ptr<MenuItem>& positioning, ScreenPoint location);
    // Opens it at a point of `view` (its lower-left corner for a status
    // button's bounds origin).
    void popUp(const std::shared_ptr<MenuItem>& positioning, Point location, const View& view);
    // Opens `menu` as the context menu of `event` in `view`: at the pointer.
    static void popUpContextMenu(const std::shared_ptr<Menu>& menu, const Event& event, const View& view);
    bool isOpen() const;
    // Closes the open menu tree this menu belongs to, choosing nothing.
    void cancelTracking();

    // Chooses the item at `index` as a click would: closes the open menu,
    // then runs the item's action. Does nothing for an item that cannot be
    // chosen. Returns whether the action ran.
    bool performActionForItem(std::size_t index);

    // Finds an item with the key equivalent of `event` (Command plus the
    // character) anywhere in the tree and chooses it.
    bool performKeyEquivalent(const Event& event);

    // For the tracker: the delegate's update and open callbacks, in order.
    void prepareToOpen();
    void didClose();

    struct Private;
    Menu(Private, std::string title);

private:
    friend class MenuItem;

    std::string title_;
    std::weak_ptr<MenuDelegate> delegate_;
    std::vector<std::shared_ptr<MenuItem>> items_;
    std::weak_ptr<MenuItem> parentItem_;
};

}  // namespace tallowmere::platform
