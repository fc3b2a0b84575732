#include "app/launch_at_login_manager.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "localization/interface_language.h"
#include "platform/base/property_list.h"
#include "platform/desktop/login_item_service.h"
#include "platform/system/command_table.h"
#include "platform/system/files.h"
#include "platform/system/process_runner.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere {
namespace {

namespace fs = std::filesystem;
namespace Manager = LaunchAtLoginManager;
using platform::CommandCall;
using platform::LoginItemService;
using platform::PropertyValue;
using Status = LoginItemService::Status;
using Runs = std::vector<std::vector<std::string>>;

class LaunchAtLoginTest : public testing::DesktopTest {
protected:
    LaunchAtLoginTest() {
        // Every launchctl run is recorded, then answered by the simulated
        // system unless the test's `launchctl` answers it.
        platform::CommandTable::shared().overrideCommand("/bin/launchctl", [this](CommandCall& call) {
            runs.push_back(call.arguments());
            if (launchctl) {
                if (auto status = launchctl(call)) return *status;
            }
            return service.launchctl(call);
        });
    }

    void onOlderSystem() { service.setHasMainAppService(false); }
    std::string bundlePath() { return desktop.currentApplication().bundlePath(); }
    std::string agent() const { return (home() / "Library/LaunchAgents/com.quenlow.tallowmere.login.plist").string(); }
    std::string domain() const { return "gui/" + std::to_string(::getuid()); }
    bool agentLoaded() const { return service.loadedAgent("com.quenlow.tallowmere.login").has_value(); }

    // An agent as an earlier run or an older system left it.
    void leaveAgentPointingAt(const std::string& path) {
        const PropertyValue agentList(PropertyValue::Dictionary{
            {"Label", "com.quenlow.tallowmere.login"},
            {"ProgramArguments", PropertyValue::Array{"/usr/bin/open", "-gj", path, "--args", "--background"}},
            {"RunAtLoad", true},
        });
        fs::create_directories(fs::path(agent()).parent_path());
        ASSERT_TRUE(platform::Files::writeAtomically(agent(), *platform::PropertyList::write(agentList)).ok());
    }
    std::optional<PropertyValue> agentContents() const {
        auto bytes = platform::Files::read(agent());
        if (!bytes) return std::nullopt;
        auto root = platform::PropertyList::read(std::span<const std::uint8_t>(*bytes));
        return root ? std::optional(*root) : std::nullopt;
    }
    bool openedLoginItemsSettings() const {
        const auto& opened = desktop.workspace().openedURLs();
        return std::count(opened.begin(), opened.end(), std::string(Manager::loginItemsSettingsURL)) > 0;
    }

    LoginItemService& service = LoginItemService::shared();
    Runs runs;
    std::function<std::optional<int>(CommandCall&)> launchctl;
};

TEST_F(LaunchAtLoginTest, OlderSystemWritesAndLoadsTheAgentEachTimeItIsEnabled) {
    onOlderSystem();
    EXPECT_EQ(Manager::agentURL(), fs::path(agent()));
    EXPECT_EQ(Manager::launchDomain(), domain());

    for (int time = 1; time <= 2; ++time) {
        SCOPED_TRACE("enabled " + std::to_string(time) + " times");
        runs.clear();
        ASSERT_TRUE(Manager::setEnabled(true).ok());
        EXPECT_EQ(runs, (Runs{{"bootout", domain(), agent()}, {"bootstrap", domain(), agent()}}));
        EXPECT_TRUE(Manager::isEnabled());
        EXPECT_TRUE(agentLoaded());
        EXPECT_TRUE(platform::Files::readText(agent()).valueOr(std::string()).starts_with("<?xml"))
            << "the agent is an XML property list";
        EXPECT_EQ(agentContents(), PropertyValue(PropertyValue::Dictionary{
                                       {"Label", "com.quenlow.tallowmere.login"},
                                       {"ProgramArguments", PropertyValue::Array{"/usr/bin/open", "-gj", bundlePath(),
                                                                                 "--args", "--background"}},
                                       {"RunAtLoad", true},
                                       {"KeepAlive", false},
                                       {"LimitLoadToSessionType", "Aqua"},
                                   }));
    }

    runs.clear();
    ASSERT_TRUE(Manager::setEnabled(false).ok());
    EXPECT_EQ(runs, (Runs{{"bootout", domain(), agent()}}));
    EXPECT_FALSE(Manager::isEnabled());
    EXPECT_FALSE(agentLoaded());
    EXPECT_FALSE(fs::exists(agent()));
    EXPECT_TRUE(Manager::setEnabled(false).ok()) << "switching off what is off is not a failure";
}

TEST_F(LaunchAtLoginTest, AFailedLoadLeavesNoAgentAndSaysWhatLaunchctlSaid) {
    onOlderSystem();
    launchctl = [](CommandCall& call) -> std::optional<int> {
        if (call.arguments()[0] != "bootstrap") return std::nullopt;
        call.writeError("Bootstrap failed: 5: Input/output error\n");
        return 5;
    };
    auto enabled = Manager::setEnabled(true);
    ASSERT_FALSE(enabled.ok());
    EXPECT_EQ(enabled.error().message, "Bootstrap failed: 5: Input/output error");
    EXPECT_EQ(enabled.error().systemCode, 5);
    EXPECT_FALSE(fs::exists(agent()));
    EXPECT_FALSE(Manager::isEnabled());
}

TEST_F(LaunchAtLoginTest, LaunchctlOutputBecomesTheMessageOrTheGeneralOne) {
    InterfaceLanguage::setCurrent(InterfaceLanguage::english);
    const std::string general = InterfaceLanguage::text("无法更新登录启动项。");
    struct Case {
        const char* name;
        std::string output;
        int status;
        std::string expected;
    } cases[] = {
        {"trimmed", " \n\tService is disabled\n\n", 119, "Service is disabled"},
        {"no output", "", 3, general},
        {"only white space", " \r\n\t ", 3, general},
        {"not UTF-8", "\xff\xfe failed", 1, general},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        launchctl = [&c](CommandCall& call) -> std::optional<int> {
            call.writeOutput(c.output);
            return c.status;
        };
        auto ran = Manager::runLaunchctl({"bootstrap", domain(), agent()});
        ASSERT_FALSE(ran.ok());
        EXPECT_EQ(ran.error().message, c.expected);
        EXPECT_EQ(ran.error().systemCode, c.status);
    }
    EXPECT_NE(general, "无法更新登录启动项。");
}

TEST_F(LaunchAtLoginTest, AChattyLaunchctlCannotStallTheCaller) {
    // More output than a pipe holds, written before the tool exits: read
    // only after the exit, the tool would wait for ever.
    const fs::path tool = home() / "launchctl";
    ASSERT_TRUE(platform::Files::writeAtomically(
                    tool, "#!/bin/sh\nhead -c 1048576 /dev/zero | tr '\\0' x\necho ' Bootstrap failed' >&2\nexit 7\n",
                    0700)
                    .ok());
    platform::CommandTable::shared().overrideCommand("/bin/launchctl", tool);

    auto ran = Manager::runLaunchctl({"bootstrap", domain(), agent()});
    ASSERT_FALSE(ran.ok());
    EXPECT_EQ(ran.error().systemCode, 7);
    EXPECT_EQ(ran.error().message.size(), 1048576u + std::string(" Bootstrap failed").size());
    EXPECT_TRUE(ran.error().message.ends_with("x Bootstrap failed"));
}

TEST_F(LaunchAtLoginTest, OlderSystemStartUpPointsTheAgentAtWhereTheProgramLives) {
    onOlderSystem();
    struct Case {
        const char* name;
        std::string agentPath;
        bool loadFails;
        Runs expectedRuns;
        bool enabledAfterwards;
    } cases[] = {
        {"same place: nothing changes", bundlePath(), false, {}, true},
        {"moved: the agent is rewritten and reloaded", "/Users/old/Desktop/Tallowmere Sparkwell.app", false,
         {{"bootout", domain(), agent()}, {"bootstrap", domain(), agent()}}, true},
        {"moved, and loading fails: off without a message", "/Volumes/Gone/Tallowmere Sparkwell.app", true,
         {{"bootout", domain(), agent()}, {"bootstrap", domain(), agent()}}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        leaveAgentPointingAt(c.agentPath);
        runs.clear();
        launchctl = [&c](CommandCall& call) -> std::optional<int> {
            if (!c.loadFails || call.arguments()[0] != "bootstrap") return std::nullopt;
            return 5;
        };

        Manager::synchronizePathIfEnabled();

        EXPECT_EQ(runs, c.expectedRuns);
        EXPECT_EQ(Manager::isEnabled(), c.enabledAfterwards);
        if (c.enabledAfterwards) {
            const auto contents = agentContents();
            ASSERT_TRUE(contents.has_value());
            EXPECT_EQ(contents->find("ProgramArguments")->asArray()->at(2), PropertyValue(bundlePath()));
        }
        (void)Manager::setEnabled(false);
    }

    // Not enabled, or an agent of another shape: nothing is touched.
    runs.clear();
    Manager::synchronizePathIfEnabled();
    fs::create_directories(fs::path(agent()).parent_path());
    ASSERT_TRUE(platform::Files::writeAtomically(agent(), std::string_view("not a property list")).ok());
    Manager::synchronizePathIfEnabled();
    EXPECT_EQ(runs, Runs{});
    EXPECT_EQ(platform::Files::readText(agent()).valueOr(std::string()), "not a property list");
}

TEST_F(LaunchAtLoginTest, NewerSystemRegistersTheLoginItemAndRemovesAnOldAgent) {
    leaveAgentPointingAt(bundlePath());
    ASSERT_TRUE(Manager::setEnabled(true).ok());
    EXPECT_EQ(service.status(), Status::enabled);
    EXPECT_TRUE(Manager::isEnabled());
    EXPECT_FALSE(fs::exists(agent()));
    EXPECT_EQ(service.registrationCount(), 1);

    ASSERT_TRUE(Manager::setEnabled(true).ok());
    EXPECT_EQ(service.registrationCount(), 1) << "an enabled item is not registered again";

    ASSERT_TRUE(Manager::setEnabled(false).ok());
    EXPECT_EQ(service.status(), Status::notRegistered);
    EXPECT_FALSE(Manager::isEnabled());

    runs.clear();
    ASSERT_TRUE(Manager::setEnabled(false).ok());
    EXPECT_EQ(service.unregistrationCount(), 1) << "nothing registered, nothing to unregister";
    EXPECT_EQ(runs, (Runs{{"bootout", domain(), agent()}})) << "the old agent is still cleaned up";
}

TEST_F(LaunchAtLoginTest, TheLoginItemIsStillThereAfterARestart) {
    struct Case {
        const char* name;
        bool olderSystem;
        bool approvalRequired;
        bool enabledAfterRestart;
    } cases[] = {
        {"login item", false, false, true},
        {"login item switched off in System Settings", false, true, false},
        {"launch agent", true, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // The system's record of the last case is gone, as on another Mac.
        fs::remove(LoginItemService::stateFile());
        {
            platform::AppContext first({.deterministic = true});
            auto& system = LoginItemService::shared();
            system.setHasMainAppService(!c.olderSystem);
            ASSERT_TRUE(Manager::setEnabled(true).ok());
            if (c.approvalRequired) system.setApprovalRequired(true);
        }
        // The next process reads what the system kept.
        platform::AppContext restarted({.deterministic = true});
        LoginItemService::shared().setHasMainAppService(!c.olderSystem);
        EXPECT_EQ(Manager::isEnabled(), c.enabledAfterRestart);
    }
}

TEST_F(LaunchAtLoginTest, NewerSystemOpensLoginItemsWhenApprovalIsPending) {
    InterfaceLanguage::setCurrent(InterfaceLanguage::english);
    service.setApprovalRequired(true);

    auto first = Manager::setEnabled(true);
    ASSERT_FALSE(first.ok());
    EXPECT_EQ(first.error().systemCode, Manager::approvalRequiredAfterRegistering);
    EXPECT_EQ(first.error().message, InterfaceLanguage::text("请在系统设置的登录项中允许本应用自动启动。"));
    EXPECT_TRUE(openedLoginItemsSettings());
    EXPECT_FALSE(Manager::isEnabled());

    auto again = Manager::setEnabled(true);
    ASSERT_FALSE(again.ok());
    EXPECT_EQ(again.error().systemCode, Manager::approvalPending);
    EXPECT_EQ(service.registrationCount(), 1);
    EXPECT_EQ(desktop.workspace().openedURLs().size(), 2u);

    service.setApprovalRequired(false);  // the person allows it in System Settings
    EXPECT_TRUE(Manager::isEnabled());
}

TEST_F(LaunchAtLoginTest, NewerSystemSeesTheLoginItemSwitchedOffInSystemSettings) {
    ASSERT_TRUE(Manager::setEnabled(true).ok());
    service.setApprovalRequired(true);  // the person switches the program off in Login Items
    EXPECT_EQ(service.status(), Status::requiresApproval);
    EXPECT_FALSE(Manager::isEnabled()) << "the menu must not show a start at login that will not happen";

    auto enabled = Manager::setEnabled(true);
    ASSERT_FALSE(enabled.ok());
    EXPECT_EQ(enabled.error().systemCode, Manager::approvalPending);
    EXPECT_EQ(service.registrationCount(), 1) << "a waiting item is not registered again";
    EXPECT_TRUE(openedLoginItemsSettings());

    ASSERT_TRUE(Manager::setEnabled(false).ok());
    EXPECT_EQ(service.status(), Status::notRegistered) << "a waiting item is unregistered when switched off";
}

TEST_F(LaunchAtLoginTest, NewerSystemPassesOnTheServiceFailures) {
    const platform::Error refused{platform::ErrorCode::permissionDenied, "Operation not permitted", 1};
    service.setRegistrationFailure(refused);
    auto enabled = Manager::setEnabled(true);
    ASSERT_FALSE(enabled.ok());
    EXPECT_EQ(enabled.error(), refused);

    service.setRegistrationFailure(std::nullopt);
    ASSERT_TRUE(Manager::setEnabled(true).ok());
    service.setUnregistrationFailure(refused);
    auto disabled = Manager::setEnabled(false);
    ASSERT_FALSE(disabled.ok());
    EXPECT_EQ(disabled.error(), refused);
    EXPECT_TRUE(Manager::isEnabled());
}

TEST_F(LaunchAtLoginTest, NewerSystemStartUpMigratesAnOldAgentOnceTheLoginItemTakesOver) {
    Manager::synchronizePathIfEnabled();
    EXPECT_EQ(service.registrationCount(), 0) << "no old agent, nothing to migrate";

    leaveAgentPointingAt(bundlePath());
    service.setRegistrationFailure(platform::Error{platform::ErrorCode::internal, "Service unavailable", 0});
    Manager::synchronizePathIfEnabled();
    EXPECT_TRUE(fs::exists(agent())) << "kept for the next start";

    service.setRegistrationFailure(std::nullopt);
    runs.clear();
    Manager::synchronizePathIfEnabled();
    EXPECT_EQ(service.status(), Status::enabled);
    EXPECT_FALSE(fs::exists(agent()));
    EXPECT_EQ(runs, (Runs{{"bootout", domain(), agent()}}));
}

TEST_F(LaunchAtLoginTest, TheSimulatedLaunchctlKeepsItsContract) {
    onOlderSystem();
    auto run = [](std::vector<std::string> arguments) {
        return platform::ProcessRunner::run({.executable = "/bin/launchctl",
                                             .arguments = std::move(arguments),
                                             .output = platform::ProcessOutput::merged});
    };
    leaveAgentPointingAt(bundlePath());
    struct Case {
        std::vector<std::string> arguments;
        int status;
        std::string output;
    } cases[] = {
        {{"bootout", domain(), agent()}, 3, "Boot-out failed: 3: No such process\n"},
        {{"bootstrap", domain(), agent()}, 0, ""},
        {{"bootstrap", domain(), agent()}, 5, "Bootstrap failed: 5: Input/output error\n"},
        {{"bootstrap", "gui/" + std::to_string(::getuid() + 1), agent()}, 125,
         "Bootstrap failed: 125: Domain does not support specified action\n"},
        {{"bootstrap", domain(), agent() + ".missing"}, 2, "Bootstrap failed: 2: No such file or directory\n"},
        {{"bootout", domain(), agent()}, 0, ""},
        {{"kickstart", domain()}, 64,
         "Unrecognized subcommand: kickstart\nUsage: launchctl <subcommand> ... | help [subcommand]\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments[0] + " " + c.arguments[1]);
        auto result = run(c.arguments);
        ASSERT_TRUE(result.ok());
        EXPECT_EQ(result->status, c.status);
        EXPECT_EQ(result->standardOutput, c.output);
    }
    EXPECT_EQ(runs.size(), std::size(cases));
}

}  // namespace
}  // namespace tallowmere
