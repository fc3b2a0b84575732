#include "screen/color_picker_controller.h"

#include "platform/runtime/app_context.h"
#include "platform/ui/menu.h"

namespace tallowmere {

ColorPickerController& ColorPickerController::shared() {
    return platform::AppContext::current().shared<ColorPickerController>();
}

void ColorPickerController::pickFromMenu(platform::MenuItem& /*sender*/) {}

std::shared_ptr<platform::Menu> ColorPickerController::makeHistoryMenu() {
    // The picker's texts are fixed Chinese in every language.
    auto menu = platform::Menu::make("取色历史");
    menu->addItem("暂无取色记录")->setEnabled(false);
    return menu;
}

}  // namespace tallowmere
