#include "platform/desktop/system_settings_commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/system/process_runner.h"
#include "support/desktop/simulated_desktop_test.h"

namespace tallowmere::testing {
namespace {

using platform::SystemSettings;

class SystemSettingsCommandsTest : public SimulatedDesktopTest {
protected:
    struct Run {
        int status = -1;
        std::string output;  // standard output and error, merged
    };
    static Run run(const std::string& path, std::vector<std::string> arguments) {
        auto result = platform::ProcessRunner::run(
            {.executable = path, .arguments = std::move(arguments), .output = platform::ProcessOutput::merged});
        if (!result) return {};
        return {result->status, result->standardOutput};
    }
};

TEST_F(SystemSettingsCommandsTest, PmsetListsEachPowerSourceBatteryFirst) {
    desktop.systemSettings().setDisplaySleep({5, 0});
    const Run laptop = run("/usr/bin/pmset", {"-g", "custom"});
    EXPECT_EQ(laptop.status, 0);
    const auto battery = laptop.output.find("Battery Power:\n");
    const auto adapter = laptop.output.find("AC Power:\n");
    ASSERT_NE(battery, std::string::npos) << laptop.output;
    ASSERT_NE(adapter, std::string::npos);
    EXPECT_LT(battery, adapter);
    EXPECT_NE(laptop.output.find(" displaysleep         5\n", battery), std::string::npos) << laptop.output;
    EXPECT_NE(laptop.output.find(" displaysleep         0\n", adapter), std::string::npos) << laptop.output;

    desktop.systemSettings().setDisplaySleep({std::nullopt, 10});
    const Run desktopMac = run("/usr/bin/pmset", {"-g", "custom"});
    EXPECT_EQ(desktopMac.output.find("Battery Power:"), std::string::npos) << "a Mac without a battery";
    EXPECT_EQ(run("/usr/bin/pmset", {"-a", "displaysleep", "1"}).status, 1) << "settings are never changed";
}

TEST_F(SystemSettingsCommandsTest, DefaultsReadsWritesAndDeletesByHost) {
    struct Case {
        std::vector<std::string> arguments;
        int status;
        std::string output;
    } cases[] = {
        {{"-currentHost", "read", "com.apple.screensaver", "idleTime"}, 0, "300\n"},
        {{"read", "com.apple.screensaver", "idleTime"}, 1,
         "\nThe domain/default pair of (com.apple.screensaver, idleTime) does not exist\n"},
        {{"-currentHost", "write", "-globalDomain", "NSStatusItemSpacing", "-int", "6"}, 0, ""},
        {{"-currentHost", "read", "NSGlobalDomain", "NSStatusItemSpacing"}, 0, "6\n"},
        {{"-currentHost", "write", "com.example", "flag", "-bool", "YES"}, 0, ""},
        {{"-currentHost", "read", "com.example", "flag"}, 0, "1\n"},
        {{"-currentHost", "write", "com.example", "name", "plain text"}, 0, ""},
        {{"-currentHost", "read", "com.example", "name"}, 0, "plain text\n"},
        {{"-currentHost", "write", "com.example", "count", "-int", "six"}, 1, ""},
        {{"-currentHost", "delete", "-globalDomain", "NSStatusItemSpacing"}, 0, ""},
        {{"-currentHost", "delete", "-globalDomain", "NSStatusItemSpacing"}, 1, ""},
        {{"-currentHost", "read", "-globalDomain", "NSStatusItemSpacing"}, 1, ""},
        {{"-currentHost", "delete", "com.example"}, 0, ""},
        {{"-currentHost", "read", "com.example", "flag"}, 1, ""},
        {{"export", "com.example", "-"}, 1, ""},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const auto& argument : c.arguments) shown += argument + " ";
        SCOPED_TRACE(shown);
        const Run result = run("/usr/bin/defaults", c.arguments);
        EXPECT_EQ(result.status, c.status) << result.output;
        if (c.status == 0 || !c.output.empty()) {
            EXPECT_EQ(result.output, c.output);
        }
    }
}

TEST_F(SystemSettingsCommandsTest, SysadminctlLogsThePasswordDelay) {
    struct Case {
        SystemSettings::PasswordDelay delay;
        std::string ending;
    } cases[] = {{0, "screenLock delay is immediate\n"}, {std::nullopt, "screenLock delay is off\n"},
                 {300, "screenLock delay is 300 seconds\n"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ending);
        desktop.systemSettings().setPasswordDelay(c.delay);
        const Run result = run("/usr/sbin/sysadminctl", {"-screenLock", "status"});
        EXPECT_EQ(result.status, 0);
        EXPECT_TRUE(result.output.ends_with(c.ending)) << result.output;
        EXPECT_NE(result.output.find(" sysadminctl["), std::string::npos) << "the tool's log prefix";
    }
    EXPECT_EQ(run("/usr/sbin/sysadminctl", {"-screenLock", "off"}).status, 64);
}

}  // namespace
}  // namespace tallowmere::testing
