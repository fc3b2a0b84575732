#include "time/countdown_day_controller.h"

#include "localization/product_identity.h"
#include "platform/runtime/app_context.h"
#include "platform/ui/menu_item.h"

namespace tallowmere {

CountdownDayController& CountdownDayController::shared() {
    return platform::AppContext::current().shared<CountdownDayController>();
}

void CountdownDayController::bindMenuItem(const std::shared_ptr<platform::MenuItem>& item) {
    menuItem_ = item;
    refreshDisplay();
}

void CountdownDayController::refreshDisplay() {
    if (auto item = menuItem_.lock()) {
        item->setTitle(ProductIdentity::localizedBrand("倒数日：设置…", "Countdown: Set Up..."));
    }
}

}  // namespace tallowmere
