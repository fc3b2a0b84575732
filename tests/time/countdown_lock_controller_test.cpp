#include "time/countdown_lock_controller.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "platform/desktop/screen_lock_service.h"
#include "platform/system/command_table.h"
#include "platform/ui/alert.h"
#include "platform/ui/menu.h"
#include "platform/ui/menu_item.h"
#include "platform/ui/text_field.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere::testing {
namespace {

using platform::MenuItemState;
using platform::ScreenLockService;

class CountdownLockTest : public DesktopTest {
protected:
    CountdownLockController& controller() { return CountdownLockController::shared(); }
    ScreenLockService& screenLock() { return ScreenLockService::shared(); }

    // The status menu's item, as the menu builds it when it opens.
    std::shared_ptr<platform::MenuItem> openItem() {
        item_ = controller().makeMenuItem();
        return item_;
    }

    // The titles of the submenu's items that carry a check mark.
    std::vector<std::string> checked() const {
        std::vector<std::string> titles;
        for (const auto& row : item_->submenu()->items()) {
            if (row->state() == MenuItemState::on) titles.push_back(row->title());
        }
        return titles;
    }

    // Chooses "自定义时间" and types `text` into the dialog.
    void typeCustom(std::string text) {
        alerts.answerWith([text](platform::Alert& alert) {
            if (auto field = std::dynamic_pointer_cast<platform::TextField>(alert.accessoryView)) {
                field->setStringValue(text);
            }
            return platform::ModalResponses::alertFirstButton;
        });
        controller().customDuration();
    }

    std::shared_ptr<platform::MenuItem> item_;
};

TEST_F(CountdownLockTest, CustomMinutesStartOnlyWithinTheRange) {
    struct Case {
        const char* typed;
        bool starts;
        std::vector<std::string> checked;
    } cases[] = {
        {" 45 ", true, {"自定义时间"}},
        {"60", true, {"1 小时后锁屏"}},
        {"+5", true, {"5 分钟后锁屏"}},
        {"1440", true, {"自定义时间"}},
        {"0", false, {}},
        {"1441", false, {}},
        {"-5", false, {}},
        {"abc", false, {}},
        {"12abc", false, {}},
        {"", false, {}},
        {"   ", false, {}},
    };
    openItem();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("typed \"") + c.typed + "\"");
        const auto alertsBefore = alerts.count();
        typeCustom(c.typed);
        EXPECT_EQ(controller().isRunning(), c.starts);
        EXPECT_EQ(checked(), c.checked);
        if (!c.starts) {
            ASSERT_EQ(alerts.count(), alertsBefore + 2);
            EXPECT_EQ(alerts.last().informativeText, "请输入 1–1440 之间的整数分钟数。");
        }
        controller().cancelCountdown();
    }
}

TEST_F(CountdownLockTest, CancelledDialogStartsNothing) {
    openItem();
    alerts.answer(platform::ModalResponses::alertFirstButton + 1);
    controller().customDuration();
    EXPECT_FALSE(controller().isRunning());
    EXPECT_EQ(alerts.count(), 1u);
}

TEST_F(CountdownLockTest, TitleCountsDownRoundedUpAndLocksOnceAtZero) {
    auto item = openItem();
    EXPECT_EQ(item->title(), "倒计时锁屏 · 未启用");
    EXPECT_FALSE(item->submenu()->itemWithTitle("取消倒计时锁屏")->isEnabled());

    controller().selectDuration(1);
    EXPECT_EQ(item->state(), MenuItemState::on);
    EXPECT_TRUE(item->submenu()->itemWithTitle("取消倒计时锁屏")->isEnabled());
    advance(0.5);
    EXPECT_EQ(controller().title(), "倒计时锁屏 · 00:01:00") << "rounded up";
    advance(58.5);
    EXPECT_EQ(item->title(), "倒计时锁屏 · 00:00:01");
    EXPECT_FALSE(screenLock().isLocked());

    advance(1);
    EXPECT_TRUE(screenLock().isLocked());
    EXPECT_FALSE(controller().isRunning());
    EXPECT_EQ(item->title(), "倒计时锁屏 · 未启用");
    EXPECT_EQ(item->state(), MenuItemState::off);
    advance(10);
    EXPECT_EQ(screenLock().lockCount(), 1);
    EXPECT_EQ(alerts.count(), 0u);

    controller().start(1440);
    EXPECT_EQ(controller().title(), "倒计时锁屏 · 24:00:00") << "hours are not capped";
}

TEST_F(CountdownLockTest, CancelStopsTheCountdown) {
    openItem();
    controller().selectDuration(5);
    advance(60);
    controller().cancelCountdown();
    EXPECT_EQ(checked(), std::vector<std::string>{});
    advance(600);
    EXPECT_EQ(screenLock().lockCount(), 0);
}

TEST_F(CountdownLockTest, UnavailableLockStartsNothing) {
    screenLock().isAvailable = false;
    openItem();
    controller().selectDuration(5);
    EXPECT_FALSE(controller().isRunning());
    ASSERT_EQ(alerts.count(), 1u);
    EXPECT_EQ(alerts.last().informativeText, "当前系统的锁屏接口不可用，未启动倒计时。请使用系统锁屏功能。");
    advance(600);
    EXPECT_EQ(screenLock().lockCount(), 0);
}

TEST_F(CountdownLockTest, FailedLockAsksToLockByHand) {
    struct Case {
        bool availableAtZero;
        const char* text;
    } cases[] = {
        {true, "系统未能执行锁屏，请手动锁屏。"},
        {false, "锁屏接口不可用，请手动锁屏。"},
    };
    openItem();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        screenLock().isAvailable = true;
        screenLock().nextStatus = 1;
        controller().selectDuration(5);
        screenLock().isAvailable = c.availableAtZero;
        advance(300);
        EXPECT_FALSE(screenLock().isLocked());
        EXPECT_FALSE(controller().isRunning());
        EXPECT_EQ(alerts.last().informativeText, c.text);
    }
}

// Each reader prints `output` and exits with `status`.
void installReader(const char* path, std::string output, int status = 0) {
    platform::CommandTable::shared().overrideCommand(path, [output, status](platform::CommandCall& call) {
        call.writeOutput(output);
        return status;
    });
}

TEST_F(CountdownLockTest, SettingsRowsComeFromTheReadersAfterTheMenuOpens) {
    installReader("/usr/bin/pmset", "Battery Power:\n displaysleep 2\nAC Power:\n displaysleep 10\n");
    installReader("/usr/bin/defaults", "300\n");
    installReader("/usr/sbin/sysadminctl", "screenLock delay is 5 seconds\n");
    auto item = openItem();
    EXPECT_TRUE(item->submenu()->itemWithTitle("系统自动锁屏设置：读取中"));
    runUntilIdle();
    const std::vector<std::string> rows{"系统自动锁屏设置（与本倒计时独立）", "电池：2 分钟后熄屏",
                                        "电源适配器：10 分钟后熄屏", "屏幕保护程序：无操作 5 分钟后启动",
                                        "熄屏或屏保后：5 秒后要求密码"};
    EXPECT_EQ(controller().systemRows(), rows);
    for (const auto& row : rows) {
        auto shown = item->submenu()->itemWithTitle(row);
        ASSERT_TRUE(shown) << row;
        EXPECT_FALSE(shown->isEnabled());
    }
}

TEST_F(CountdownLockTest, FailedReadersFallBackToTheirRows) {
    installReader("/usr/bin/pmset", "AC Power:\n displaysleep 10\n", 1);
    installReader("/usr/bin/defaults", "\xff\xfe");
    // sysadminctl is not where it should be: it cannot be launched.
    platform::CommandTable::shared().overrideCommand("/usr/sbin/sysadminctl", home() / "absent");
    openItem();
    runUntilIdle();
    EXPECT_EQ(controller().systemRows(),
              (std::vector<std::string>{"系统自动锁屏设置（与本倒计时独立）", "自动熄屏时间：未能读取，请查看系统设置",
                                        "屏幕保护程序：未能读取，请查看系统设置",
                                        "要求密码延迟：未能读取，请查看系统设置"}));
}

// No reader replaced: the rows are what the simulated Mac's own tools print
// of its settings.
TEST_F(CountdownLockTest, RowsShowTheSimulatedMacsSettings) {
    using Settings = platform::SystemSettings;
    struct Case {
        Settings::DisplaySleep displaySleep;
        std::optional<int> idleSeconds;  // none: never set
        Settings::PasswordDelay passwordDelay;
        std::vector<std::string> rows;
    } cases[] = {
        {{2, 10}, 300, 0,
         {"电池：2 分钟后熄屏", "电源适配器：10 分钟后熄屏", "屏幕保护程序：无操作 5 分钟后启动",
          "熄屏或屏保后：立即要求密码"}},
        {{std::nullopt, 0}, 0, std::nullopt,
         {"电源适配器：不自动熄屏", "屏幕保护程序：不自动启动", "熄屏或屏保后：不要求密码"}},
        {{15, 30}, std::nullopt, 60,
         {"电池：15 分钟后熄屏", "电源适配器：30 分钟后熄屏", "屏幕保护程序：未能读取，请查看系统设置",
          "熄屏或屏保后：60 秒后要求密码"}},
    };
    auto& settings = desktop.systemSettings();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rows.front());
        settings.setDisplaySleep(c.displaySleep);
        settings.setPasswordDelay(c.passwordDelay);
        if (c.idleSeconds) {
            settings.write(true, Settings::screenSaverDomain, Settings::screenSaverIdleTimeKey, *c.idleSeconds);
        } else {
            settings.remove(true, Settings::screenSaverDomain, std::nullopt);
        }
        openItem();
        runUntilIdle();
        std::vector<std::string> expected{"系统自动锁屏设置（与本倒计时独立）"};
        expected.insert(expected.end(), c.rows.begin(), c.rows.end());
        EXPECT_EQ(controller().systemRows(), expected);
    }
}

// A real process that never ends: the reader must give up on it.
TEST_F(CountdownLockTest, HangingReaderIsEndedAndItsRowFallsBack) {
    const auto script = home() / "hang.sh";
    std::ofstream(script) << "#!/bin/sh\nprintf 'AC Power:\\n displaysleep 10\\n'\nexec sleep 60\n";
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    platform::CommandTable::shared().overrideCommand("/usr/bin/pmset", script);
    installReader("/usr/bin/defaults", "0");
    installReader("/usr/sbin/sysadminctl", "screenLock delay is off");
    openItem();
    const auto began = std::chrono::steady_clock::now();
    runUntilIdle();
    const double waited = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    EXPECT_LT(waited, 20) << "the reader was not ended";
    EXPECT_EQ(controller().systemRows(),
              (std::vector<std::string>{"系统自动锁屏设置（与本倒计时独立）", "自动熄屏时间：未能读取，请查看系统设置",
                                        "屏幕保护程序：不自动启动", "熄屏或屏保后：不要求密码"}));
}

}  // namespace
}  // namespace tallowmere::testing
