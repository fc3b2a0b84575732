// Brightness of this machine's own monitors over their real DDC buses, with
// ddcutil (where installed) as the independent reader. Skipped, with the
// reason, where no monitor's bus answers.
#include <cmath>
#include <regex>

#include "platform/desktop/system_monitor.h"
#include "platform/runtime/sleeper.h"
#include "screen/display_brightness_hardware.h"
#include "support/command_run.h"
#include "support/desktop/simulated_desktop_test.h"

namespace tallowmere::testing {
namespace {

using Hardware = DisplayBrightnessHardware;

class RealMonitorBrightnessTest : public SimulatedDesktopTest {};

TEST_F(RealMonitorBrightnessTest, SetsAndRestoresAMonitorsBrightness) {
    const auto connectors = platform::SystemMonitor::connectedConnectors();
    if (connectors.empty()) GTEST_SKIP() << "no connected monitor under " << platform::SystemMonitor::drmFolder;

    // Each connected monitor becomes an external screen naming its connector.
    std::map<Hardware::DisplayID, platform::SystemMonitor> monitors;
    double x = 1440;
    for (const auto& connector : connectors) {
        auto monitor = platform::SystemMonitor::find(connector);
        if (!monitor || monitor->busDevice.empty()) continue;
        platform::ScreenSpec spec;
        spec.frame = {x, 0, 1920, 1080};
        x += 1920;
        spec.isBuiltIn = false;
        spec.localizedName = monitor->identity.productName.empty() ? connector : monitor->identity.productName;
        spec.hardware.systemMonitor = connector;
        auto screen = desktop.screens().addScreen(spec);
        ASSERT_TRUE(screen.ok());
        monitors.emplace((*screen)->displayID(), *monitor);
    }
    if (monitors.empty()) GTEST_SKIP() << "no connected monitor has a DDC bus (/dev/i2c-N)";

    platform::Sleeper realPauses(true);
    auto interfaces = std::make_shared<Hardware::Interfaces>(Hardware::Interfaces::load(desktop.displayHardware(), realPauses));
    std::vector<Hardware::Screen> screens;
    for (const auto& [id, monitor] : monitors) screens.push_back({id, monitor.connector, false});
    const auto readings = Hardware::read(screens, interfaces);
    if (readings.empty()) GTEST_SKIP() << "no monitor answered on its DDC bus";

    const bool haveReader = runShell("command -v ddcutil >/dev/null 2>&1").status == 0;
    for (const auto& [id, reading] : readings) {
        const auto& monitor = monitors.at(id);
        SCOPED_TRACE(monitor.connector);
        const double before = reading.value;
        ASSERT_TRUE(reading.endpoint->set(0.4));
        auto after = Hardware::read({{id, monitor.connector, false}}, interfaces);
        ASSERT_TRUE(after.contains(id));
        EXPECT_NEAR(after.at(id).value, 0.4, 0.02);
        if (haveReader) {
            const std::string bus = monitor.busDevice.filename().string().substr(4);
            const auto run = runCommand("ddcutil --bus " + bus + " getvcp 10");
            std::smatch found;
            ASSERT_TRUE(std::regex_search(run.output, found, std::regex(R"(current value\s*=\s*(\d+), max value\s*=\s*(\d+))")))
                << run.output;
            EXPECT_NEAR(std::stod(found[1]) / std::stod(found[2]), 0.4, 0.02) << run.output;
        }
        EXPECT_TRUE(reading.endpoint->set(before)) << "the level is put back";
    }
}

}  // namespace
}  // namespace tallowmere::testing
