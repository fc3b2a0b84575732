#include "time/countdown_lock_controller.h"

#include <string>

#include "localization/interface_language.h"
#include "platform/gfx/symbol_image.h"
#include "platform/runtime/app_context.h"
#include "platform/ui/menu.h"

namespace tallowmere {

using namespace platform;

CountdownLockController& CountdownLockController::shared() {
    return AppContext::current().shared<CountdownLockController>();
}

std::shared_ptr<MenuItem> CountdownLockController::makeMenuItem() {
    auto item = MenuItem::make(L("倒计时锁屏") + " · " + L("未启用"));
    item->setImage(symbolImage("lock", L("倒计时锁屏")));
    auto submenu = Menu::make();
    submenu->autoenablesItems = false;
    for (int minutes : presetMinutes) {
        auto title = minutes == 60 ? L("1 小时后锁屏") : std::to_string(minutes) + L(" 分钟后锁屏");
        auto preset = submenu->addItem(std::move(title));
        preset->setTag(minutes);
        preset->setEnabled(false);
    }
    submenu->addItem(L("自定义时间"))->setEnabled(false);
    submenu->addItem(L("取消倒计时锁屏"))->setEnabled(false);
    submenu->addSeparator();
    submenu->addItem(L("系统自动锁屏设置：读取中"))->setEnabled(false);
    item->setSubmenu(submenu);
    menuItem_ = item;
    return item;
}

}  // namespace tallowmere
