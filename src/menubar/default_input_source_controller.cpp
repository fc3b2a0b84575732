#include "menubar/default_input_source_controller.h"

#include "localization/interface_language.h"
#include "platform/gfx/symbol_image.h"
#include "platform/runtime/app_context.h"
#include "platform/ui/menu.h"

namespace tallowmere {

DefaultInputSourceController& DefaultInputSourceController::shared() {
    return platform::AppContext::current().shared<DefaultInputSourceController>();
}

std::shared_ptr<platform::MenuItem> DefaultInputSourceController::makeMenuItem() {
    auto item = platform::MenuItem::make(L("默认输入法") + " · " + L("跟随系统"));
    item->setImage(platform::symbolImage("keyboard", L("默认输入法")));
    auto submenu = platform::Menu::make();
    submenu->autoenablesItems = false;
    submenu->addItem(L("跟随系统（不自动切换）"))->setState(platform::MenuItemState::on);
    submenu->addSeparator();
    submenu->addItem(L("未找到已启用且可选择的输入法"))->setEnabled(false);
    item->setSubmenu(submenu);
    return item;
}

}  // namespace tallowmere
