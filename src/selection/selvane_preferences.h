#pragma once

#include <string_view>

namespace tallowmere {

// The selection bar's switch. Off on a fresh installation; a value under
// the bar's older name counts only while the current key is absent.
namespace SelvanePreferences {

inline constexpr std::string_view enabledKey = "selvaneEnabled";
inline constexpr std::string_view legacyEnabledKey = "quorrelEnabled";

bool isEnabled();

}  // namespace SelvanePreferences

}  // namespace tallowmere
