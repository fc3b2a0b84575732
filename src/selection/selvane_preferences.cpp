#include "selection/selvane_preferences.h"

#include "platform/system/user_defaults.h"

namespace tallowmere::SelvanePreferences {

bool isEnabled() {
    auto& defaults = platform::UserDefaults::standard();
    if (defaults.object(enabledKey)) return defaults.boolean(enabledKey);
    return defaults.boolean(legacyEnabledKey);
}

}  // namespace tallowmere::SelvanePreferences
