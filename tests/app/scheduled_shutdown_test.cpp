#include <algorithm>
#include <string>
#include <vector>

#include "app_delegate_fixture.h"
#include "menubar/network_traffic_status_view.h"
#include "platform/desktop/desktop_trace.h"
#include "platform/system/administrator_prompt.h"
#include "platform/system/command_call.h"
#include "platform/system/command_table.h"
#include "platform/system/system_shutdown.h"
#include "platform/ui/menu_item.h"
#include "platform/ui/text_field.h"
#include "time/shutdown_countdown_panel.h"

namespace tallowmere::testing {
namespace {

class ScheduledShutdownTest : public AppDelegateTest {
protected:
    void SetUp() override {
        launch({"--finder-action"});
        runUntilIdle();
        platform::AdministratorPrompt::shared().setAsk([this](const std::string&) {
            ++prompts;
            return allowsAdministrator;
        });
        platform::DesktopTrace::shared().onLine = [this](const std::string& line) { desktopTrace.push_back(line); };
    }
    long tracedShutdowns() const {
        return std::count(desktopTrace.begin(), desktopTrace.end(), "the Mac shuts down (shutdown -h now)");
    }
    void choosePreset(int minutes) {
        auto item = platform::MenuItem::make("preset");
        item->setTag(minutes);
        delegate().scheduleShutdownFromMenu(*item);
    }
    const ShutdownCountdownPanel& panel() { return delegate().shutdownCountdownPanel(); }
    int shutdowns() { return platform::SystemShutdown::shared().requestCount(); }

    int prompts = 0;
    bool allowsAdministrator = true;
    std::vector<std::string> desktopTrace;
};

TEST_F(ScheduledShutdownTest, PresetCountsDownTwentySecondsThenAsksForTheShutdown) {
    std::vector<std::string> arguments;
    platform::CommandTable::shared().overrideCommand("/usr/bin/osascript", [&](platform::CommandCall& call) {
        arguments = call.arguments();
        return 0;
    });
    choosePreset(60);
    advance(60 * 60 - 1);
    EXPECT_FALSE(panel().isShown());
    advance(1);
    ASSERT_TRUE(panel().isShown());
    EXPECT_EQ(panel().remainingSeconds(), 20);
    EXPECT_EQ(panel().panel()->frame().size, (platform::Size{390, 168}));
    advance(19);
    EXPECT_EQ(panel().remainingSeconds(), 1);
    EXPECT_TRUE(arguments.empty()) << "nothing runs before the count ends";
    advance(1);
    runUntilIdle();
    EXPECT_FALSE(panel().isShown());
    EXPECT_EQ(arguments, (std::vector<std::string>{
                             "-e", "do shell script \"/sbin/shutdown -h now\" with administrator privileges"}));
}

TEST_F(ScheduledShutdownTest, TheStandInRecordsTheShutdownOnlyWhenAllowed) {
    struct Case {
        bool allowed;
        int recorded;
        std::size_t alertsShown;
    } cases[] = {{true, 1, 0}, {false, 0, 1}};
    int before = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.allowed ? "allowed" : "refused");
        allowsAdministrator = c.allowed;
        before = shutdowns();
        const long tracedBefore = tracedShutdowns();
        const std::size_t alertsBefore = alerts.count();
        choosePreset(1);
        advance(60 + 20);
        runUntilIdle();
        EXPECT_EQ(shutdowns() - before, c.recorded);
        EXPECT_EQ(tracedShutdowns() - tracedBefore, c.recorded) << "a person sees the simulated Mac go off";
        ASSERT_EQ(alerts.count() - alertsBefore, c.alertsShown);
        if (c.alertsShown) {
            EXPECT_EQ(alerts.last().informativeText, "关机未能执行。");
        }
    }
    EXPECT_EQ(prompts, 2);
}

TEST_F(ScheduledShutdownTest, EscapeCancelOrANewPresetStopTheCount) {
    struct Case {
        const char* name;
        std::function<void()> stop;
    } cases[] = {
        {"Escape", [&] { keyboard.press(53, "\x1b"); }},
        {"cancel item", [&] { delegate().cancelScheduledShutdownFromMenu(); }},
        {"new preset", [&] { choosePreset(120); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const int before = shutdowns();
        choosePreset(1);
        advance(60 + 5);
        ASSERT_TRUE(panel().isShown());
        application.activate(true);
        c.stop();
        EXPECT_FALSE(panel().isShown());
        advance(30);
        runUntilIdle();
        EXPECT_EQ(shutdowns(), before) << "nothing was run";
        delegate().cancelScheduledShutdownFromMenu();
    }
}

TEST_F(ScheduledShutdownTest, CancelRemovesTheStoredDate) {
    defaults().set("scheduledShutdownDate", platform::PropertyValue(std::string("2026-12-10")));
    choosePreset(60);
    delegate().cancelScheduledShutdownFromMenu();
    EXPECT_FALSE(defaults().object("scheduledShutdownDate").has_value());
    advance(2 * 3600);
    EXPECT_FALSE(panel().isShown());
}

TEST_F(ScheduledShutdownTest, CustomDialogTakesWholeMinutesWithinADay) {
    // The status item's countdown shows what was scheduled without running a
    // virtual day per case.
    struct Case {
        std::string typed;
        std::string countdown;
    } cases[] = {
        {"0", ""}, {"1441", ""}, {"abc", ""}, {"", ""}, {"2.5", ""},
        {"1440", "⏻ 24:00:00"}, {" 1 ", "⏻ 01:00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("\"" + c.typed + "\"");
        const std::size_t before = alerts.count();
        alerts.answerWith([&](platform::Alert& alert) {
            if (auto field = std::dynamic_pointer_cast<platform::TextField>(alert.accessoryView)) {
                field->setStringValue(c.typed);
            }
            return platform::ModalResponses::alertFirstButton;
        });
        delegate().scheduleCustomShutdownFromMenu();
        const bool accepted = !c.countdown.empty();
        if (accepted) {
            EXPECT_EQ(alerts.count(), before + 1);
        } else {
            ASSERT_EQ(alerts.count(), before + 2) << "the error alert follows";
            EXPECT_EQ(alerts.last().messageText, "定时关机");
            EXPECT_EQ(alerts.last().informativeText, "请输入分钟数（1–1440）");
        }
        EXPECT_EQ(delegate().networkTrafficStatusView()->timedStatus, c.countdown);
        if (c.typed == " 1 ") {
            advance(59);
            EXPECT_FALSE(panel().isShown());
            advance(1);
            EXPECT_TRUE(panel().isShown()) << "the countdown panel comes a minute later";
        }
        delegate().cancelScheduledShutdownFromMenu();
    }
}

}  // namespace
}  // namespace tallowmere::testing
