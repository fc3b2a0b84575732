#include "selection/selvane_exclusions.h"

#include <algorithm>

#include "platform/runtime/app_context.h"
#include "platform/system/user_defaults.h"

namespace tallowmere {

namespace {

// Whether the chooser is open, one per context like every shared state.
struct ChooserState {
    bool isOpen = false;
};

}  // namespace

bool SelvaneExclusions::contains(const std::optional<std::string>& bundleIdentifier) {
    if (!bundleIdentifier) return false;
    auto stored = platform::UserDefaults::standard().stringArray(key);
    return stored && std::find(stored->begin(), stored->end(), *bundleIdentifier) != stored->end();
}

bool SelvaneExclusions::isChoosingApplication() {
    return platform::AppContext::current().shared<ChooserState>().isOpen;
}

void SelvaneExclusions::setChoosingApplication(bool choosing) {
    platform::AppContext::current().shared<ChooserState>().isOpen = choosing;
}

}  // namespace tallowmere
