#include "mainwindow/input_feature_switches.h"

#include <gtest/gtest.h>

#include "platform/system/user_defaults.h"
#include "platform/ui/event_monitors.h"
#include "support/desktop/desktop_fixture.h"
#include "windows/input_controller.h"
#include "windows/long_press_destination.h"
#include "windows/snap_engine.h"

namespace tallowmere {
namespace {

class InputFeatureSwitchesTest : public testing::DesktopTest {
protected:
    std::shared_ptr<InputController> input = InputController::make(std::make_shared<SnapEngine>(), nullptr);
    platform::UserDefaults& defaults = platform::UserDefaults::standard();
};

TEST_F(InputFeatureSwitchesTest, StoredSwitchesRunOnlyWhileTrusted) {
    struct Flags {
        bool gesture, natural, mouse, edgeSnap, quickLaunch, quickLaunchLongPress, selvane;
        bool operator==(const Flags&) const = default;
    };
    struct Case {
        const char* what;
        bool trusted;
        std::vector<std::pair<const char*, platform::PropertyValue>> stored;
        Flags flags;
    } cases[] = {
        {"fresh installation, trusted", true, {}, {true, true, true, true, true, true, false}},
        {"fresh installation, untrusted", false, {}, {false, true, false, false, true, false, false}},
        {"switches stored off", true,
         {{"gestureEnabled", false}, {"naturalDirectionEnabled", false}, {"mouseEnabled", false},
          {"edgeSnapEnabled", false}, {"quickLaunchEnabled", false}},
         {false, false, false, false, false, true, false}},
        {"a value that is no Boolean counts as on", true, {{"gestureEnabled", "no"}},
         {true, true, true, true, true, true, false}},
        {"selection bar on, with its long press", true,
         {{"selvaneEnabled", true}, {"longPressDestination", "selvane"}},
         {true, true, true, true, true, false, true}},
        {"selection bar on by its older key", true, {{"quorrelEnabled", true}},
         {true, true, true, true, true, true, true}},
        {"selection bar on but untrusted", false, {{"selvaneEnabled", true}},
         {false, true, false, false, true, false, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const char* key : {"gestureEnabled", "naturalDirectionEnabled", "mouseEnabled", "edgeSnapEnabled",
                                "quickLaunchEnabled", "selvaneEnabled", "quorrelEnabled", "longPressDestination"}) {
            defaults.removeObject(key);
        }
        for (const auto& [key, value] : c.stored) defaults.set(key, value);
        InputFeatureSwitches::apply(*input, c.trusted);
        const Flags flags{input->gestureEnabled,   input->naturalDirectionEnabled, input->mouseEnabled,
                          input->edgeSnapEnabled,  input->quickLaunchEnabled,      input->quickLaunchLongPressEnabled,
                          input->selvaneEnabled};
        EXPECT_EQ(flags, c.flags);
        EXPECT_EQ(input->hasGestureMonitor(), c.flags.gesture);
        EXPECT_EQ(input->hasMouseMonitors(), c.flags.mouse || c.flags.quickLaunch || c.flags.selvane);
        EXPECT_LE(platform::EventMonitors::shared().globalMonitorCount(), 2u) << "never two of a kind";
    }
}

}  // namespace
}  // namespace tallowmere
