#include "platform/ui/menu.h"

#include <algorithm>
#include <cctype>

#include "platform/ui/menu_tracker.h"
#include "platform/ui/view.h"

namespace tallowmere::platform {

struct Menu::Private {};

Menu::Menu(Private, std::string title) : title_(std::move(title)) {}

std::shared_ptr<Menu> Menu::make(std::string title) { return std::make_shared<Menu>(Private{}, std::move(title)); }

std::shared_ptr<MenuItem> Menu::item(std::size_t index) const {
    return index < items_.size() ? items_[index] : nullptr;
}

std::shared_ptr<MenuItem> Menu::itemWithTitle(const std::string& title) const {
    for (const auto& item : items_) {
        if (item->displayedTitle() == title) return item;
    }
    return nullptr;
}

std::shared_ptr<MenuItem> Menu::itemWithTag(std::int64_t tag) const {
    for (const auto& item : items_) {
        if (item->tag() == tag) return item;
    }
    return nullptr;
}

std::optional<std::size_t> Menu::indexOf(const MenuItem& item) const {
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].get() == &item) return i;
    }
    return std::nullopt;
}

void Menu::addItem(std::shared_ptr<MenuItem> item) { insertItem(std::move(item), items_.size()); }

std::shared_ptr<MenuItem> Menu::addItem(std::string title, MenuItem::Action action, std::string keyEquivalent) {
    auto item = MenuItem::make(std::move(title), std::move(action), std::move(keyEquivalent));
    addItem(item);
    return item;
}

void Menu::addSeparator() { addItem(MenuItem::separator()); }

void Menu::insertItem(std::shared_ptr<MenuItem> item, std::size_t index) {
    if (!item) return;
    if (auto previous = item->menu()) previous->removeItem(item);
    item->menu_ = weak_from_this();
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(std::min(index, items_.size())), std::move(item));
}

void Menu::removeItem(const std::shared_ptr<MenuItem>& item) {
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end()) return;
    (*it)->menu_.reset();
    items_.erase(it);
}

void Menu::removeAllItems() {
    for (auto& item : items_) item->menu_.reset();
    items_.clear();
}

std::shared_ptr<Menu> Menu::supermenu() const {
    auto parent = parentItem_.lock();
    return parent ? parent->menu() : nullptr;
}

void Menu::popUp(const std::shared_ptr<MenuItem>& /*positioning*/, ScreenPoint location) {
    MenuTracker::shared().open(shared_from_this(), location);
}

void Menu::popUp(const std::shared_ptr<MenuItem>& positioning, Point location, const View& view) {
    popUp(positioning, view.convertToScreen(location));
}

void Menu::popUpContextMenu(const std::shared_ptr<Menu>& menu, const Event& event, const View& /*view*/) {
    if (menu) menu->popUp(nullptr, event.location);
}

bool Menu::isOpen() const { return MenuTracker::shared().isOpen(*this); }

void Menu::cancelTracking() {
    if (isOpen()) MenuTracker::shared().close();
}

bool Menu::performActionForItem(std::size_t index) {
    auto chosen = item(index);
    return chosen && MenuTracker::shared().choose(chosen);
}

bool Menu::performKeyEquivalent(const Event& event) {
    if (event.type != EventType::keyDown) return false;
    auto lowered = [](std::string text) {
        for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return text;
    };
    const auto pressed = lowered(event.charactersIgnoringModifiers);
    if (pressed.empty()) return false;
    const auto held = event.modifierFlags.deviceIndependent().rawValue &
                      (ModifierFlags::command | ModifierFlags::option | ModifierFlags::control | ModifierFlags::shift);
    for (const auto& candidate : items_) {
        if (candidate->hasSubmenu()) {
            if (auto owner = candidate->submenu()->delegate()) owner->menuNeedsUpdate(*candidate->submenu());
            if (candidate->submenu()->performKeyEquivalent(event)) return true;
            continue;
        }
        if (candidate->keyEquivalent().empty() || !candidate->canBeChosen()) continue;
        // An upper-case key equivalent implies Shift, as on the platform.
        const auto& key = candidate->keyEquivalent();
        auto wanted = candidate->keyEquivalentModifierMask().rawValue;
        if (key.size() == 1 && std::isupper(static_cast<unsigned char>(key[0]))) wanted |= ModifierFlags::shift;
        if (lowered(key) != pressed || wanted != held) continue;
        return MenuTracker::shared().choose(candidate);
    }
    return false;
}

void Menu::prepareToOpen() {
    auto owner = delegate();
    if (!owner) return;
    owner->menuNeedsUpdate(*this);
    owner->menuWillOpen(*this);
}

void Menu::didClose() {
    if (auto owner = delegate()) owner->menuDidClose(*this);
}

}  // namespace tallowmere::platform
