// The shell's three status items and the status menu. The pictures, the
// calendar day icon, the activity display and the full menu come with the
// status items and status menu themselves; until then the items show
// placeholder symbols and the menu holds the shell's own commands.
#include "app/app_delegate.h"
#include "app/menu_item_styling.h"
#include "localization/interface_language.h"
#include "localization/product_identity.h"
#include "platform/gfx/symbol_image.h"
#include "platform/ui/menu_item.h"
#include "platform/ui/status_bar.h"
#include "platform/ui/status_bar_button.h"
#include "platform/ui/status_item.h"

namespace tallowmere {

using namespace platform;

void AppDelegate::makeStatusItems() {
    auto& statusBar = StatusBar::shared();
    const std::weak_ptr<AppDelegate> weakSelf = weak_from_this();

    statusItem_ = statusBar.statusItem(32);
    statusItem_->setAutosaveName(std::string(mainStatusItemAutosaveName));
    if (auto button = statusItem_->button()) {
        button->onAction = [weakSelf](Control& sender) {
            auto self = weakSelf.lock();
            if (auto* button = dynamic_cast<StatusBarButton*>(&sender); self && button) self->handleMainStatusClick(*button);
        };
        // A right click opens the same menu as a left click.
        button->sendActionOn(eventMask(EventType::leftMouseUp) | eventMask(EventType::rightMouseUp));
        const std::string name(ProductIdentity::localizedName());
        button->setToolTip(name);
        button->setAccessibilityLabel(name);
    }

    calendarStatusItem_ = statusBar.statusItem(32);
    calendarStatusItem_->setAutosaveName(std::string(calendarStatusItemAutosaveName));
    if (auto button = calendarStatusItem_->button()) {
        button->onAction = [weakSelf](Control& sender) {
            auto self = weakSelf.lock();
            if (auto* button = dynamic_cast<StatusBarButton*>(&sender); self && button) self->handleCalendarStatusClick(*button);
        };
        const std::string label = ProductIdentity::localizedBrand("日历", "Calendar");
        button->setToolTip(label);
        button->setAccessibilityLabel(label);
    }
    calendarStatusItem_->setVisible(calendarEnabled_);

    // Shown, at its width, only by the activity display once it has
    // something to show.
    activityStatusItem_ = statusBar.statusItem(1);
    activityStatusItem_->setAutosaveName(std::string(activityStatusItemAutosaveName));
    activityStatusItem_->setVisible(false);
}

void AppDelegate::refreshStatusBarIcon() {
    auto button = statusItem_ ? statusItem_->button() : nullptr;
    if (!button) return;
    button->setEnabled(true);
    button->setAlphaValue(1.0);
    button->imageDimsWhenDisabled = false;
    button->setImage(symbolImage("cat", ProductIdentity::localizedName()));
    updateStatusBarActivityDisplay();
}

void AppDelegate::handleMainStatusClick(StatusBarButton& sender) {
    auto button = statusItem_ ? statusItem_->button() : nullptr;
    if (!button || button.get() != &sender || !mainStatusMenu_) return;
    rebuildStatusMenu();
    normalizeMenuIcons(*mainStatusMenu_);
    const Rect bounds = button->bounds();
    mainStatusMenu_->popUp(nullptr, Point{bounds.minX(), bounds.minY()}, *button);
}

void AppDelegate::handleCalendarStatusClick(StatusBarButton& sender) {
    auto button = calendarStatusItem_ ? calendarStatusItem_->button() : nullptr;
    if (!calendarEnabled_ || !button || button.get() != &sender) return;
    // The calendar panel opens here once it exists.
}

void AppDelegate::menuWillOpen(Menu& menu) {
    // Whichever menu is opening; the status menu is the only one with this
    // delegate.
    rebuildStatusMenu();
    normalizeMenuIcons(menu);
}

void AppDelegate::menuDidClose(Menu& menu) {
    // Detached again, so the next click reaches handleMainStatusClick.
    if (&menu == mainStatusMenu_.get() && statusItem_) statusItem_->setMenu(nullptr);
}

void AppDelegate::updateStatusBarActivityDisplay() {
    // Network rates and player controls are not drawn yet, so the activity
    // item stays hidden.
    updateCalendarStatusItem();
}

void AppDelegate::updateCalendarStatusItem() {
    if (calendarStatusItem_) calendarStatusItem_->setVisible(calendarEnabled_);
    auto button = calendarStatusItem_ ? calendarStatusItem_->button() : nullptr;
    if (!calendarEnabled_ || !button || button->image()) return;
    button->setImage(symbolImage("calendar", button->accessibilityLabel()));
}

void AppDelegate::showMusicApplicationMenu() {
    // The music-application chooser comes with the player controls.
}

}  // namespace tallowmere
