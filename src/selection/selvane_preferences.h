#pragma once

#include <string_view>
#include <vector>

#include "selection/selvane_action.h"
#include "selection/selvane_tool.h"

namespace tallowmere {

// The selection bar's settings, read from the user defaults on every use so
// a change in the main window shows at the next selection.
namespace SelvanePreferences {

inline constexpr std::string_view enabledKey = "selvaneEnabled";
inline constexpr std::string_view legacyEnabledKey = "quorrelEnabled";
inline constexpr std::string_view enabledActionsKey = "selvaneEnabledActions";
inline constexpr std::string_view enabledToolsKey = "selvaneEnabledTools";

// Off on a fresh installation; a value under the bar's older name counts
// only while the current key is absent.
bool isEnabled();
// The stored actions in bar order; all of them when nothing is stored, and
// copy alone when nothing stored is known, so the bar never goes empty.
std::vector<SelvaneAction> enabledActions();
// The stored tools in bar order; the colour picker and the ruler when
// nothing is stored.
std::vector<SelvaneTool> enabledTools();

}  // namespace SelvanePreferences

}  // namespace tallowmere
