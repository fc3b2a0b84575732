#include "windows/long_press_destination.h"

#include "app/persistent_configuration.h"
#include "platform/system/user_defaults.h"

namespace tallowmere {

using platform::UserDefaults;

namespace {

constexpr std::array<std::string_view, 3> rawValues = {"disabled", "quickLaunch", "selvane"};

}  // namespace

std::string_view rawValue(LongPressDestination destination) {
    return rawValues[static_cast<std::size_t>(destination)];
}

std::optional<LongPressDestination> longPressDestinationFromRawValue(std::string_view text) {
    for (auto destination : allLongPressDestinations) {
        if (rawValue(destination) == text) return destination;
    }
    return std::nullopt;
}

namespace LongPressDestinationPreference {

LongPressDestination current() {
    if (auto stored = UserDefaults::standard().string(key)) {
        if (auto destination = longPressDestinationFromRawValue(*stored)) return *destination;
    }
    if (UserDefaults::standard().storedBoolean(selvaneLongPressKey) == true) return LongPressDestination::selvane;
    // Quick launch by long press was on from the start, so only a stored
    // false turns it off.
    return UserDefaults::standard().storedBoolean(quickLaunchLongPressKey).value_or(true) ? LongPressDestination::quickLaunch
                                                                  : LongPressDestination::disabled;
}

void set(LongPressDestination destination) {
    auto& defaults = UserDefaults::standard();
    defaults.set(key, std::string(rawValue(destination)));
    defaults.set(quickLaunchLongPressKey, destination == LongPressDestination::quickLaunch);
    defaults.set(selvaneLongPressKey, destination == LongPressDestination::selvane);
    PersistentConfiguration::shared().persistNow();
}

bool allowsQuickLaunch() {
    if (current() != LongPressDestination::quickLaunch) return false;
    return UserDefaults::standard().storedBoolean(quickLaunchEnabledKey).value_or(true);
}

}  // namespace LongPressDestinationPreference

}  // namespace tallowmere
