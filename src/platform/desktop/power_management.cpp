#include "platform/desktop/power_management.h"

#include <algorithm>

#include "platform/runtime/notification_center.h"

namespace tallowmere::platform {

std::shared_ptr<PowerActivity> PowerManagement::beginActivity(ActivityOptions options, std::string reason) {
    auto activity = std::make_shared<PowerActivity>(options, std::move(reason));
    held_.push_back(activity);
    postChange();
    return activity;
}

void PowerManagement::endActivity(const std::shared_ptr<PowerActivity>& activity) {
    const auto before = held_.size();
    std::erase_if(held_, [&](const std::weak_ptr<PowerActivity>& held) {
        auto locked = held.lock();
        return !locked || locked == activity;
    });
    if (held_.size() != before) postChange();
}

void PowerManagement::postChange() {
    if (notifications_) notifications_->post(didChangeNotification, this);
}

std::vector<std::shared_ptr<PowerActivity>> PowerManagement::heldActivities() const {
    std::vector<std::shared_ptr<PowerActivity>> activities;
    for (const auto& held : held_) {
        if (auto activity = held.lock()) activities.push_back(activity);
    }
    return activities;
}

bool PowerManagement::prevents(ActivityOption option) const {
    const auto flag = static_cast<ActivityOptions>(option);
    return std::any_of(held_.begin(), held_.end(), [flag](const std::weak_ptr<PowerActivity>& held) {
        auto activity = held.lock();
        return activity && (activity->options() & flag) != 0;
    });
}

bool PowerManagement::preventsIdleDisplaySleep() const { return prevents(ActivityOption::idleDisplaySleepDisabled); }

bool PowerManagement::preventsIdleSystemSleep() const { return prevents(ActivityOption::idleSystemSleepDisabled); }

}  // namespace tallowmere::platform
