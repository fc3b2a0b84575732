#include <optional>
#include <string>

#include "app_delegate_fixture.h"
#include "platform/base/property_value.h"
#include "platform/desktop/desktop.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/menu.h"
#include "platform/ui/menu_item.h"
#include "platform/ui/menu_tracker.h"
#include "platform/system/paths.h"
#include <filesystem>

namespace tallowmere::testing {
namespace {

using platform::PropertyValue;

class KeepDisplayAwakeTest : public AppDelegateTest {
protected:
    void start() {
        launch({"--finder-action"});
        runUntilIdle();
    }
    // Chooses an item of the keep-awake submenu (other submenus have a
    // "30 分钟" too).
    void choose(const std::string& title) {
        menuBar.click(*delegate().statusItem());
        auto menu = menus.openMenu();
        ASSERT_TRUE(menu);
        for (const auto& item : menu->items()) {
            if (item->displayedTitle().rfind("保持亮屏", 0) != 0) continue;
            auto choice = item->submenu()->itemWithTitle(title);
            ASSERT_TRUE(choice) << title;
            auto& tracker = platform::MenuTracker::shared();
            ASSERT_TRUE(tracker.openSubmenu(*item));
            ASSERT_TRUE(tracker.choose(choice)) << title;
            return;
        }
        ADD_FAILURE() << "no keep-awake item";
    }
    bool displayHeldAwake() { return desktop.power().preventsIdleDisplaySleep(); }
    bool stored(const char* key) { return defaults().object(key).has_value(); }
    std::string header() {
        menuBar.click(*delegate().statusItem());
        auto menu = menus.openMenu();
        if (!menu) {
            ADD_FAILURE() << "the status menu did not open";
            return {};
        }
        std::string title;
        for (const auto& item : menu->items()) {
            if (item->displayedTitle().rfind("保持亮屏", 0) == 0) title = item->displayedTitle();
        }
        menus.dismiss();
        return title;
    }
};

TEST_F(KeepDisplayAwakeTest, ThirtyMinutesEndOnTheClockAndLeaveNoKeys) {
    start();
    choose("30 分钟");

    EXPECT_TRUE(displayHeldAwake());
    EXPECT_TRUE(desktop.power().preventsIdleSystemSleep());
    ASSERT_EQ(desktop.power().heldActivities().size(), 1u);
    EXPECT_EQ(desktop.power().heldActivities()[0]->reason(), "塔洛梅百宝箱 保持亮屏");
    EXPECT_EQ(defaults().object("displayAwakeSelectedMinutes"), PropertyValue(30));
    EXPECT_EQ(defaults().object("displayAwakeAlways"), PropertyValue(false));
    EXPECT_EQ(defaults().real("displayAwakeUntil"), clock().now().timeIntervalSince1970() + 1800);
    EXPECT_EQ(header(), "保持亮屏 · 30:00");

    advance(29 * 60 + 59);
    EXPECT_TRUE(displayHeldAwake());
    EXPECT_EQ(header(), "保持亮屏 · 00:01");
    advance(1);
    EXPECT_FALSE(displayHeldAwake()) << "the period ends at its end";
    for (const char* key : {"displayAwakeUntil", "displayAwakeAlways", "displayAwakeSelectedMinutes"}) {
        EXPECT_FALSE(stored(key)) << key;
    }
    EXPECT_EQ(header(), "保持亮屏 · 未启用");
}

TEST_F(KeepDisplayAwakeTest, ANewChoiceReplacesTheRunningPeriod) {
    start();
    choose("4 小时");
    choose("1 小时");
    EXPECT_EQ(desktop.power().heldActivities().size(), 1u) << "one activity, not two";
    EXPECT_EQ(defaults().object("displayAwakeSelectedMinutes"), PropertyValue(60));
    advance(3600);
    EXPECT_FALSE(displayHeldAwake()) << "the four-hour timer is gone with its period";

    choose("2 小时");
    choose("一直亮屏");
    EXPECT_EQ(defaults().object("displayAwakeAlways"), PropertyValue(true));
    EXPECT_FALSE(stored("displayAwakeUntil"));
    EXPECT_FALSE(stored("displayAwakeSelectedMinutes"));
    EXPECT_EQ(header(), "保持亮屏 · 一直亮屏");
    advance(10 * 3600);
    EXPECT_TRUE(displayHeldAwake());

    choose("取消亮屏");
    EXPECT_FALSE(displayHeldAwake());
    EXPECT_FALSE(stored("displayAwakeAlways"));
}

TEST_F(KeepDisplayAwakeTest, TheChosenDurationIsMarkedInBlue) {
    start();
    choose("2 小时");
    menuBar.click(*delegate().statusItem());
    auto chosen = menus.find("2 小时");
    auto other = menus.find("1 小时");
    auto cancel = menus.find("取消亮屏");
    ASSERT_TRUE(chosen && other && cancel);
    ASSERT_TRUE(chosen->attributedTitle());
    EXPECT_EQ(chosen->attributedTitle()->attributesAt(0).foregroundColor,
              platform::Color::system(platform::SystemColor::blue));
    EXPECT_FALSE(other->attributedTitle() && !other->attributedTitle()->empty());
    EXPECT_TRUE(cancel->canBeChosen());
}

TEST_F(KeepDisplayAwakeTest, StartUpResumesWhatIsStored) {
    struct Case {
        const char* name;
        std::optional<bool> always;
        std::optional<double> untilFromNow;
        std::optional<int> minutes;
        bool resumed;
        std::optional<double> endsAfter;  // seconds; none for an endless period
    } cases[] = {
        {"always wins over a stored end", true, 600, 30, true, std::nullopt},
        {"thirty seconds left", std::nullopt, 30, 120, true, 30},
        {"under a second left fires at the stored end", std::nullopt, 0.3, std::nullopt, true, 0.3},
        {"an end in the past is cleared", false, -60, 30, false, std::nullopt},
        {"nothing stored", std::nullopt, std::nullopt, std::nullopt, false, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Each case is a fresh process whose configuration mirror holds nothing.
        std::filesystem::remove(platform::Paths::applicationSupport() / "com.quenlow.tallowmere" / "configuration.plist");
        platform::AppContext process({.deterministic = true});
        auto& defaults = platform::UserDefaults::standard();
        auto& clock = *process.virtualClock();
        for (const char* key : {"displayAwakeAlways", "displayAwakeUntil", "displayAwakeSelectedMinutes"}) {
            defaults.removeObject(key);
        }
        if (c.always) defaults.set("displayAwakeAlways", PropertyValue(*c.always));
        if (c.untilFromNow) {
            defaults.set("displayAwakeUntil", PropertyValue(clock.now().timeIntervalSince1970() + *c.untilFromNow));
        }
        if (c.minutes) defaults.set("displayAwakeSelectedMinutes", PropertyValue(*c.minutes));

        auto delegate = AppDelegate::make();
        platform::Application::shared().setDelegate(delegate);
        platform::Application::shared().finishLaunching();
        auto& power = platform::DesktopLink::desktop().power();

        EXPECT_EQ(delegate->isKeepingDisplayAwake(), c.resumed);
        EXPECT_EQ(power.preventsIdleDisplaySleep(), c.resumed);
        if (!c.resumed) {
            EXPECT_FALSE(defaults.object("displayAwakeUntil"));
            EXPECT_FALSE(defaults.object("displayAwakeSelectedMinutes"));
            continue;
        }
        if (c.minutes && !c.always) {
            EXPECT_EQ(delegate->displayAwakeSelectedMinutes(), c.minutes);
        }
        if (!c.endsAfter) {
            clock.advance(24 * 3600);
            EXPECT_TRUE(power.preventsIdleDisplaySleep());
            continue;
        }
        clock.advance(*c.endsAfter - 0.01);
        EXPECT_TRUE(power.preventsIdleDisplaySleep());
        clock.advance(0.02);
        EXPECT_FALSE(power.preventsIdleDisplaySleep());
    }
}

TEST_F(KeepDisplayAwakeTest, AlwaysSurvivesARestartAndHoldsTheDisplayAgain) {
    start();
    choose("一直亮屏");
    delegate().quit();
    EXPECT_FALSE(displayHeldAwake()) << "quitting ends the activity";
    delegate_.reset();

    // The next start: a new process reading the same home folder.
    platform::AppContext restarted({.deterministic = true});
    auto delegate = AppDelegate::make();
    platform::Application::shared().setDelegate(delegate);
    platform::Application::shared().finishLaunching();

    EXPECT_TRUE(delegate->isKeepingDisplayAwake());
    EXPECT_TRUE(platform::DesktopLink::desktop().power().preventsIdleDisplaySleep());
    EXPECT_FALSE(delegate->displayAwakeUntil());
}

}  // namespace
}  // namespace tallowmere::testing
