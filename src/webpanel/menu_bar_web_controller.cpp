#include "webpanel/menu_bar_web_controller.h"

#include "localization/interface_language.h"
#include "platform/runtime/app_context.h"
#include "platform/gfx/symbol_image.h"
#include "platform/ui/menu.h"
#include "platform/ui/status_bar.h"
#include "platform/ui/status_item.h"

namespace tallowmere {

MenuBarWebController& MenuBarWebController::shared() {
    return platform::AppContext::current().shared<MenuBarWebController>();
}

void MenuBarWebController::installStatusItems() {
    if (webStatusItem_) return;
    auto& statusBar = platform::StatusBar::shared();
    webStatusItem_ = statusBar.statusItem(32);
    webStatusItem_->setAutosaveName(webItemAutosaveName);
    webStatusItem_->setVisible(false);
    playbackStatusItem_ = statusBar.statusItem(30);
    playbackStatusItem_->setAutosaveName(playbackItemAutosaveName);
    playbackStatusItem_->setVisible(false);
}

std::shared_ptr<platform::MenuItem> MenuBarWebController::makeMenuItem() {
    const std::string title = L("菜单栏网页");
    auto item = platform::MenuItem::make(title);
    item->setImage(platform::symbolImage("globe", title));
    auto submenu = platform::Menu::make(title);
    submenu->addItem(L("还没有添加网页"))->setEnabled(false);
    item->setSubmenu(submenu);
    return item;
}

}  // namespace tallowmere
