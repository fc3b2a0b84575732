#include "selection/selvane_preferences.h"

#include <algorithm>
#include <optional>
#include <string>

#include "platform/system/user_defaults.h"

namespace tallowmere::SelvanePreferences {

namespace {

// The cases whose raw value is stored, in case order: stored order and
// duplicates do not matter, unknown texts are ignored.
template <class Case, std::size_t count>
std::vector<Case> storedCases(const std::vector<std::string>& stored, const std::array<Case, count>& allCases) {
    std::vector<Case> result;
    for (Case each : allCases) {
        if (std::find(stored.begin(), stored.end(), rawValue(each)) != stored.end()) result.push_back(each);
    }
    return result;
}

}  // namespace

bool isEnabled() {
    auto& defaults = platform::UserDefaults::standard();
    if (defaults.object(enabledKey)) return defaults.boolean(enabledKey);
    return defaults.boolean(legacyEnabledKey);
}

std::vector<SelvaneAction> enabledActions() {
    auto stored = platform::UserDefaults::standard().stringArray(enabledActionsKey);
    if (!stored) return {allSelvaneActions.begin(), allSelvaneActions.end()};
    auto actions = storedCases(*stored, allSelvaneActions);
    if (actions.empty()) return {SelvaneAction::copy};
    return actions;
}

std::vector<SelvaneTool> enabledTools() {
    auto stored = platform::UserDefaults::standard().stringArray(enabledToolsKey);
    if (!stored) return {SelvaneTool::colorPicker, SelvaneTool::screenRuler};
    return storedCases(*stored, allSelvaneTools);
}

}  // namespace tallowmere::SelvanePreferences
