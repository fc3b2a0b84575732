#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tallowmere::platform {

class NotificationCenter;

// What a held activity keeps from happening while the person is idle.
enum class ActivityOption : std::uint8_t {
    idleDisplaySleepDisabled = 1 << 0,
    idleSystemSleepDisabled = 1 << 1,
};
using ActivityOptions = std::uint8_t;
constexpr ActivityOptions operator|(ActivityOption a, ActivityOption b) {
    return static_cast<ActivityOptions>(static_cast<std::uint8_t>(a) | static_cast<std::uint8_t>(b));
}

// The token of one held activity; the activity lasts until it is ended
// (or the token is released).
class PowerActivity {
public:
    PowerActivity(ActivityOptions options, std::string reason) : options_(options), reason_(std::move(reason)) {}
    ActivityOptions options() const { return options_; }
    const std::string& reason() const { return reason_; }

private:
    ActivityOptions options_;
    std::string reason_;
};

// The simulated Mac's power management: the display and the system stay
// awake while any process holds an activity that disables their idle
// sleep. Nothing here reaches the machine's own power settings.
class PowerManagement {
public:
    // Posted (object: this) when an activity begins or ends.
    static constexpr const char* didChangeNotification = "PowerManagementDidChange";

    explicit PowerManagement(NotificationCenter* notifications = nullptr) : notifications_(notifications) {}
    PowerManagement(const PowerManagement&) = delete;
    PowerManagement& operator=(const PowerManagement&) = delete;

    std::shared_ptr<PowerActivity> beginActivity(ActivityOptions options, std::string reason);
    // Ending an activity twice, or one that is gone, does nothing.
    void endActivity(const std::shared_ptr<PowerActivity>& activity);

    // The activities held now, oldest first.
    std::vector<std::shared_ptr<PowerActivity>> heldActivities() const;
    bool preventsIdleDisplaySleep() const;
    bool preventsIdleSystemSleep() const;

private:
    bool prevents(ActivityOption option) const;
    void postChange();

    NotificationCenter* notifications_;

    // Weak: an activity whose token is gone no longer holds anything.
    std::vector<std::weak_ptr<PowerActivity>> held_;
};

}  // namespace tallowmere::platform
