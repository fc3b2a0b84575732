#include "platform/ui/menu_tracker.h"

#include <utility>

#include "platform/runtime/app_context.h"
#include "platform/ui/application.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/menu.h"
#include "platform/ui/ui_trace.h"

namespace tallowmere::platform {

MenuTracker& MenuTracker::shared() { return AppContext::current().shared<MenuTracker>(); }

std::vector<std::shared_ptr<Menu>> MenuTracker::openMenus() const {
    std::vector<std::shared_ptr<Menu>> menus;
    for (const auto& level : open_) menus.push_back(level.menu);
    return menus;
}

std::shared_ptr<Menu> MenuTracker::rootMenu() const { return open_.empty() ? nullptr : open_.front().menu; }

const MenuLayout* MenuTracker::layoutOf(const Menu& menu) const {
    for (const auto& level : open_) {
        if (level.menu.get() == &menu) return &level.layout;
    }
    return nullptr;
}

bool MenuTracker::isOpen(const Menu& menu) const { return layoutOf(menu) != nullptr; }

void MenuTracker::open(const std::shared_ptr<Menu>& menu, ScreenPoint topLeft) {
    if (!menu) return;
    close();
    openLevel(menu, topLeft);
    const Event* event = Application::shared().currentEvent();
    if (!open_.empty() && event && isMouseDown(event->type)) {
        const auto* row = open_.front().layout.rowAt(event->location);
        openingPress_ = OpeningPress{.row = row ? row->item.get() : nullptr};
    }
}

void MenuTracker::openLevel(const std::shared_ptr<Menu>& menu, ScreenPoint topLeft) {
    // The delegate rebuilds the items before anything is measured or shown.
    const auto generation = ++generation_;
    menu->prepareToOpen();
    if (generation != generation_) return;  // the delegate opened another menu
    open_.push_back({menu, MenuLayout::make(*menu, topLeft, DesktopLink::screenFrameContaining(topLeft))});
    UiTrace::shared().record(describeMenuForTrace(*menu));
    if (onOpen) onOpen(*menu);
}

bool MenuTracker::openSubmenu(const MenuItem& item) {
    for (std::size_t level = 0; level < open_.size(); ++level) {
        const auto* row = open_[level].layout.rowOf(item);
        if (!row) continue;
        if (!item.hasSubmenu() || !item.canBeChosen()) return false;
        if (level + 1 < open_.size() && open_[level + 1].menu == item.submenu()) return true;
        closeFrom(level + 1);
        openLevel(item.submenu(), {row->frame.maxX(), row->frame.maxY() + MenuLayout::verticalPadding});
        return true;
    }
    return false;
}

void MenuTracker::closeFrom(std::size_t level) {
    if (level == 0) openingPress_.reset();
    while (open_.size() > level) {
        auto closing = open_.back().menu;
        open_.pop_back();
        ++generation_;
        UiTrace::shared().record("menu closed " + quotedForTrace(closing->title()));
        closing->didClose();
    }
}

void MenuTracker::close() { closeFrom(0); }

bool MenuTracker::choose(const std::shared_ptr<MenuItem>& item) {
    if (!item || !item->canBeChosen()) return false;
    if (item->hasSubmenu() && !item->action) return openSubmenu(*item);
    bool inOpenTree = false;
    for (const auto& level : open_) inOpenTree = inOpenTree || level.layout.rowOf(*item) != nullptr;
    if (inOpenTree) close();
    UiTrace::shared().record("menu item chosen " + quotedForTrace(item->displayedTitle()));
    // A copy: the action may rebuild the menu and drop the item.
    auto keepAlive = item;
    if (keepAlive->action) keepAlive->action(*keepAlive);
    return true;
}

bool MenuTracker::handleEvent(const Event& event) {
    if (open_.empty()) return false;
    if (event.type == EventType::keyDown) {
        if (event.keyCode == KeyCode::escape) close();
        return true;  // keys belong to the open menu while it tracks
    }
    if (!isMouseEvent(event.type)) return false;
    std::optional<OpeningPress> endingPress;
    if (isMouseDown(event.type) || isMouseUp(event.type)) endingPress = std::exchange(openingPress_, std::nullopt);
    // Innermost menu first: submenus lie over their parents.
    for (std::size_t level = open_.size(); level-- > 0;) {
        const auto& layout = open_[level].layout;
        if (!layout.frame.contains(event.location)) continue;
        const auto* row = layout.rowAt(event.location);
        if (openingPress_ && (!row || row->item.get() != openingPress_->row)) openingPress_->leftTheRow = true;
        if (!row) return true;
        if (row->item->hasSubmenu()) {
            openSubmenu(*row->item);
        } else if (isMouseUp(event.type)) {
            if (endingPress && !endingPress->leftTheRow && row->item.get() == endingPress->row) return true;
            auto item = row->item;
            choose(item);
        }
        return true;
    }
    if (openingPress_) openingPress_->leftTheRow = true;
    // Outside every open menu: a press closes them and is used up.
    if (isMouseDown(event.type)) {
        close();
        return true;
    }
    return false;
}

std::string describeMenuForTrace(const Menu& menu) {
    std::string line = "menu opened " + quotedForTrace(menu.title()) + ":";
    bool first = true;
    for (const auto& item : menu.items()) {
        if (item->isHidden()) continue;
        line += first ? " " : " | ";
        first = false;
        if (item->isSeparatorItem()) {
            line += "—";
            continue;
        }
        if (item->state() == MenuItemState::on) line += "✓ ";
        if (item->state() == MenuItemState::mixed) line += "- ";
        line += item->view() && item->displayedTitle().empty() ? "[view]" : item->displayedTitle();
        if (auto key = MenuLayout::keyEquivalentText(*item); !key.empty()) line += " " + key;
        if (item->hasSubmenu()) line += " ▸";
        if (!item->canBeChosen()) line += " (disabled)";
    }
    return line;
}

}  // namespace tallowmere::platform
