// The shell's three status items and the status menu. The pictures, the
// calendar day icon, the activity display and the full menu come with the
// status items and status menu themselves; until then the items show
// placeholder symbols and the menu holds the shell's own commands.
#include "app/app_delegate.h"
#include "app/launch_at_login_manager.h"
#include "localization/interface_language.h"
#include "localization/product_identity.h"
#include "platform/gfx/symbol_image.h"
#include "platform/ui/menu_item.h"
#include "platform/ui/status_bar.h"
#include "platform/ui/status_bar_button.h"
#include "platform/ui/status_item.h"

namespace tallowmere {

using namespace platform;

namespace {

std::string withProductName(std::string_view key) {
    return L(key) + " " + std::string(ProductIdentity::localizedName());
}

}  // namespace

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
    const Rect bounds = button->bounds();
    mainStatusMenu_->popUp(nullptr, Point{bounds.minX(), bounds.minY()}, *button);
}

void AppDelegate::handleCalendarStatusClick(StatusBarButton& sender) {
    auto button = calendarStatusItem_ ? calendarStatusItem_->button() : nullptr;
    if (!calendarEnabled_ || !button || button.get() != &sender) return;
    // The calendar panel opens here once it exists.
}

void AppDelegate::menuWillOpen(Menu& /*menu*/) { rebuildStatusMenu(); }

void AppDelegate::menuDidClose(Menu& menu) {
    // Detached again, so the next click reaches handleMainStatusClick.
    if (&menu == mainStatusMenu_.get() && statusItem_) statusItem_->setMenu(nullptr);
}

void AppDelegate::rebuildStatusMenu() {
    if (!mainStatusMenu_) return;
    mainStatusMenu_->removeAllItems();
    const std::weak_ptr<AppDelegate> weakSelf = weak_from_this();
    auto action = [weakSelf](void (AppDelegate::*method)()) {
        return [weakSelf, method](MenuItem&) {
            if (auto self = weakSelf.lock()) ((*self).*method)();
        };
    };

    mainStatusMenu_->addItem(L("打开主界面"), action(&AppDelegate::showMainWindow));
    mainStatusMenu_->addItem(withProductName("关于"), action(&AppDelegate::showAboutFromMenu));
    mainStatusMenu_->addSeparator();
    auto launchAtLogin = mainStatusMenu_->addItem(L("登录时自动启动"), action(&AppDelegate::toggleLaunchAtLoginFromMenu));
    launchAtLogin->setState(LaunchAtLoginManager::isEnabled() ? MenuItemState::on : MenuItemState::off);
    mainStatusMenu_->addSeparator();
    mainStatusMenu_->addItem(withProductName("退出应用"), action(&AppDelegate::quit), "q");
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
