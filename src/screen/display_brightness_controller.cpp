#include "screen/display_brightness_controller.h"

#include "platform/gfx/symbol_image.h"
#include "platform/runtime/app_context.h"
#include "platform/ui/menu.h"

namespace tallowmere {

DisplayBrightnessController& DisplayBrightnessController::shared() {
    return platform::AppContext::current().shared<DisplayBrightnessController>();
}

std::shared_ptr<platform::MenuItem> DisplayBrightnessController::makeMenuItem() {
    auto item = platform::MenuItem::make("亮度调节");
    item->setImage(platform::symbolImage("sun.max", "亮度调节"));
    auto submenu = platform::Menu::make();
    submenu->autoenablesItems = false;
    submenu->addItem("打开后读取显示器亮度")->setEnabled(false);
    item->setSubmenu(submenu);
    return item;
}

}  // namespace tallowmere
