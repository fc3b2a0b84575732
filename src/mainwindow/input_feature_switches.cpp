#include "mainwindow/input_feature_switches.h"

#include <string_view>

#include "platform/system/user_defaults.h"
#include "quicklaunch/quick_launch_panel.h"
#include "selection/selvane_preferences.h"
#include "windows/input_controller.h"
#include "windows/long_press_destination.h"
#include "windows/selection_bar.h"

namespace tallowmere::InputFeatureSwitches {

void apply(InputController& input, bool trusted) {
    auto& defaults = platform::UserDefaults::standard();
    // These switches are on until the person turns them off.
    auto switchOn = [&defaults](std::string_view key) { return defaults.storedBoolean(key).value_or(true); };
    const auto destination = LongPressDestinationPreference::current();

    input.gestureEnabled = trusted && switchOn("gestureEnabled");
    input.updateGestureMonitor();
    input.naturalDirectionEnabled = switchOn("naturalDirectionEnabled");
    input.mouseEnabled = trusted && switchOn("mouseEnabled");
    input.updateMouseMonitor();
    input.edgeSnapEnabled = trusted && switchOn("edgeSnapEnabled");

    input.quickLaunchEnabled = switchOn(LongPressDestinationPreference::quickLaunchEnabledKey);
    input.updateMouseMonitor();
    if (!input.quickLaunchEnabled) input.quickLaunchPanel().panel()->orderOut();

    input.quickLaunchLongPressEnabled = trusted && destination == LongPressDestination::quickLaunch;
    if (!input.quickLaunchLongPressEnabled) {
        input.cancelQuickLaunchLongPress();
        input.quickLaunchPanel().panel()->orderOut();
        input.quickLaunchLongPressTriggered = false;
    }

    input.selvaneEnabled = trusted && SelvanePreferences::isEnabled();
    input.updateMouseMonitor();
    if (!input.selvaneEnabled) input.selvanePanel().hide();
}

}  // namespace tallowmere::InputFeatureSwitches
