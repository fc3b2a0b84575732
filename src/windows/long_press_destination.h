#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace tallowmere {

// What holding the left button still for a second opens: nothing, the
// quick-launch panel or the selection action bar. Stored by its raw value
// (the case name) under "longPressDestination"; two older Boolean keys are
// kept in step so a stored choice survives either way.
enum class LongPressDestination { disabled, quickLaunch, selvane };

inline constexpr std::array<LongPressDestination, 3> allLongPressDestinations = {
    LongPressDestination::disabled, LongPressDestination::quickLaunch, LongPressDestination::selvane};

std::string_view rawValue(LongPressDestination destination);
std::optional<LongPressDestination> longPressDestinationFromRawValue(std::string_view rawValue);

// The stored choice and the switch it depends on, read afresh at every call.
namespace LongPressDestinationPreference {

inline constexpr std::string_view key = "longPressDestination";
inline constexpr std::string_view quickLaunchLongPressKey = "quickLaunchLongPressEnabled";
inline constexpr std::string_view selvaneLongPressKey = "selvaneLongPressEnabled";
inline constexpr std::string_view quickLaunchEnabledKey = "quickLaunchEnabled";

// The stored destination; without a valid one, the older keys decide
// (the selection bar first, then quick launch, which is the default).
LongPressDestination current();
// Stores the destination with both older keys and has the configuration
// file hold the change at once.
void set(LongPressDestination destination);
// A long press may open quick launch: it is the destination and the
// quick-launch switch is not stored off.
bool allowsQuickLaunch();

}  // namespace LongPressDestinationPreference

}  // namespace tallowmere
