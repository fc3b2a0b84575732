#include "time/lock_settings_rows.h"

#include <gtest/gtest.h>

namespace tallowmere {
namespace {

using Rows = std::vector<std::string>;
constexpr const char* noDisplaySleep = "自动熄屏时间：未能读取，请查看系统设置";

TEST(LockSettingsRowsTest, DisplaySleepFromEachPowerSource) {
    struct Case {
        const char* name;
        std::optional<std::string> output;
        Rows rows;
    } cases[] = {
        {"English sections",
         "Battery Power:\n lidwake              1\n displaysleep         2\n sleep                1\n"
         "AC Power:\n displaysleep         10 (display sleep prevented by coreaudiod)\n sleep 0\n",
         {"电池：2 分钟后熄屏", "电源适配器：10 分钟后熄屏"}},
        {"Chinese sections", "电池电源：\n displaysleep 0\n交流电源：\n displaysleep 15\n",
         {"电池：不自动熄屏", "电源适配器：15 分钟后熄屏"}},
        {"adapter only", "AC Power:\n displaysleepx 3\n displaysleep\t20\n", {"电源适配器：20 分钟后熄屏"}},
        {"outside a section", " displaysleep 5\n", {noDisplaySleep}},
        {"not a number", "AC Power:\n displaysleep never\n", {noDisplaySleep}},
        {"negative", "AC Power:\n displaysleep -3\n", {noDisplaySleep}},
        {"garbage", "pmset: unknown option\n", {noDisplaySleep}},
        {"empty", "", {noDisplaySleep}},
        {"reader failed", std::nullopt, {noDisplaySleep}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(LockSettingsRows::displaySleep(c.output), c.rows);
    }
}

TEST(LockSettingsRowsTest, ScreenSaverIdleTime) {
    struct Case {
        std::optional<std::string> output;
        const char* row;
    } cases[] = {
        {"0\n", "屏幕保护程序：不自动启动"},
        {"300\n", "屏幕保护程序：无操作 5 分钟后启动"},
        {" 90 ", "屏幕保护程序：无操作 2 分钟后启动"},
        {"30", "屏幕保护程序：无操作 1 分钟后启动"},
        {"The domain/default pair of (com.apple.screensaver, idleTime) does not exist\n",
         "屏幕保护程序：未能读取，请查看系统设置"},
        {"300 seconds", "屏幕保护程序：未能读取，请查看系统设置"},
        {"-60", "屏幕保护程序：未能读取，请查看系统设置"},
        {"", "屏幕保护程序：未能读取，请查看系统设置"},
        {std::nullopt, "屏幕保护程序：未能读取，请查看系统设置"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.output.value_or("(failed)"));
        EXPECT_EQ(LockSettingsRows::screenSaver(c.output), c.row);
    }
}

TEST(LockSettingsRowsTest, PasswordDelay) {
    struct Case {
        std::optional<std::string> output;
        const char* row;
    } cases[] = {
        {"2026-12-10 10:00:00.000 sysadminctl[311:2045] screenLock delay is immediate\n", "熄屏或屏保后：立即要求密码"},
        {"screenLock delay is Immediate", "熄屏或屏保后：立即要求密码"},
        {"screenLock delay is off\n", "熄屏或屏保后：不要求密码"},
        {"screenLock delay is never", "熄屏或屏保后：不要求密码"},
        {"screenLock delay is 5 seconds\n", "熄屏或屏保后：5 秒后要求密码"},
        {"screenLock delay is soon", "要求密码延迟：请查看系统设置"},
        {"%%garbage%%", "要求密码延迟：请查看系统设置"},
        {"", "要求密码延迟：未能读取，请查看系统设置"},
        {std::nullopt, "要求密码延迟：未能读取，请查看系统设置"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.output.value_or("(failed)"));
        EXPECT_EQ(LockSettingsRows::passwordDelay(c.output), c.row);
    }
}

TEST(LockSettingsRowsTest, AllRowsInOrder) {
    EXPECT_EQ(LockSettingsRows::all(std::nullopt, "0", "screenLock delay is immediate"),
              (Rows{"系统自动锁屏设置（与本倒计时独立）", noDisplaySleep, "屏幕保护程序：不自动启动",
                    "熄屏或屏保后：立即要求密码"}));
}

}  // namespace
}  // namespace tallowmere
