#include "webpanel/menu_bar_web_controller.h"

#include "platform/runtime/app_context.h"
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

}  // namespace tallowmere
