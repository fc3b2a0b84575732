#include "platform/ui/menu_item.h"

#include "platform/ui/menu.h"

namespace tallowmere::platform {

struct MenuItem::Private {};

MenuItem::MenuItem(Private, std::string title, Action action, std::string keyEquivalent, bool separator)
    : action(std::move(action)),
      title_(std::move(title)),
      separator_(separator),
      keyEquivalent_(std::move(keyEquivalent)) {
    if (separator_) enabled_ = false;
}

std::shared_ptr<MenuItem> MenuItem::make(std::string title, Action action, std::string keyEquivalent) {
    return std::make_shared<MenuItem>(Private{}, std::move(title), std::move(action), std::move(keyEquivalent), false);
}

std::shared_ptr<MenuItem> MenuItem::separator() {
    return std::make_shared<MenuItem>(Private{}, std::string{}, Action{}, std::string{}, true);
}

void MenuItem::setAttributedTitle(std::optional<AttributedString> title) {
    attributedTitle_ = std::move(title);
    if (attributedTitle_) title_ = attributedTitle_->text();
}

const std::string& MenuItem::displayedTitle() const {
    if (attributedTitle_ && !attributedTitle_->empty()) return attributedTitle_->text();
    return title_;
}

bool MenuItem::canBeChosen() const {
    if (separator_ || hidden_ || !enabled_) return false;
    auto owner = menu_.lock();
    if (owner && owner->autoenablesItems) return static_cast<bool>(action) || submenu_ != nullptr || view_ != nullptr;
    return true;
}

void MenuItem::setSubmenu(std::shared_ptr<Menu> submenu) {
    if (submenu_) submenu_->parentItem_.reset();
    submenu_ = std::move(submenu);
    if (submenu_) submenu_->parentItem_ = weak_from_this();
}

}  // namespace tallowmere::platform
