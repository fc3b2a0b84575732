#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app_delegate_fixture.h"
#include "platform/desktop/desktop.h"
#include "platform/ui/event_monitors.h"
#include "platform/ui/menu.h"
#include "platform/ui/menu_item.h"
#include "platform/ui/text_field.h"
#include "time/tomato_fullscreen_reminder.h"

namespace tallowmere::testing {
namespace {

using platform::Event;
using platform::EventType;

constexpr int reminderLevel = 1000;

void collectTexts(const platform::View& view, std::vector<std::string>& texts) {
    if (auto field = dynamic_cast<const platform::TextField*>(&view)) texts.push_back(field->stringValue());
    for (const auto& child : view.subviews()) collectTexts(*child, texts);
}

class PomodoroTest : public AppDelegateTest {
protected:
    void SetUp() override {
        launch({"--finder-action"});
        runUntilIdle();
    }
    std::string countdownTitle() {
        menuBar.click(*delegate().statusItem());
        auto menu = menus.openMenu();
        if (!menu) return std::string("(the status menu did not open)");
        std::string shown = menu->item(3)->displayedTitle();
        menus.dismiss();
        return shown;
    }
    std::vector<std::shared_ptr<platform::Window>> reminderPanels() const {
        std::vector<std::shared_ptr<platform::Window>> found;
        for (const auto& window : windows.visible()) {
            if (window->level() == reminderLevel) found.push_back(window);
        }
        return found;
    }
    std::size_t glassCount() const {
        const auto& played = desktop.sounds().played();
        return static_cast<std::size_t>(std::count(played.begin(), played.end(), "Glass"));
    }
    // Runs a one-minute pomodoro to its end.
    void runOneMinute() {
        delegate().startPomodoro(1);
        advance(60);
        runUntilIdle();
    }
};

TEST_F(PomodoroTest, ShowsRemainingSecondsRoundedUp) {
    delegate().startPomodoro(1);
    EXPECT_EQ(countdownTitle(), "关闭这个番茄闹钟 · 00:01:00") << "the full time shows at once";
    advance(0.5);
    EXPECT_EQ(countdownTitle(), "关闭这个番茄闹钟 · 00:01:00") << "half a second gone still rounds up";
    delegate().startPomodoro(2);
    advance(59);
    EXPECT_EQ(countdownTitle(), "关闭这个番茄闹钟 · 00:01:01");
    advance(60.5);
    EXPECT_EQ(countdownTitle(), "关闭这个番茄闹钟 · 00:00:01");
    EXPECT_EQ(glassCount(), 0u);
}

TEST_F(PomodoroTest, EndsWithOneGlassAndAReminderOnEveryScreen) {
    ASSERT_TRUE(setup.addScreen({.frame = {1440, 0, 1920, 1080}, .isBuiltIn = false}));
    runOneMinute();
    EXPECT_EQ(glassCount(), 1u);
    const auto panels = reminderPanels();
    ASSERT_EQ(panels.size(), 2u);
    std::vector<platform::ScreenRect> frames;
    for (const auto& panel : panels) {
        frames.push_back(panel->frame());
        EXPECT_EQ(panel->collectionBehavior().rawValue, 0x111u);
        EXPECT_EQ(panel->styleMask().rawValue, 0u);
        std::vector<std::string> texts;
        collectTexts(*panel->contentView(), texts);
        EXPECT_EQ(texts, (std::vector<std::string>{"🍅", "时间到了！"}));
    }
    EXPECT_NE(std::find(frames.begin(), frames.end(), platform::ScreenRect{0, 0, 1440, 900}), frames.end());
    EXPECT_NE(std::find(frames.begin(), frames.end(), platform::ScreenRect{1440, 0, 1920, 1080}), frames.end());
    keyboard.press(53, "\x1b");
    EXPECT_EQ(countdownTitle(), "开启一个番茄闹钟");
    advance(120);
    EXPECT_EQ(glassCount(), 1u) << "the sound plays once";
}

TEST_F(PomodoroTest, ReminderEndsByEscapeClickOrAfterFifteenSeconds) {
    struct Case {
        const char* name;
        std::function<void()> dismiss;
        bool swallowed;
    } cases[] = {
        {"Escape", [&] { keyboard.press(53, "\x1b"); }, true},
        {"click", [&] { mouse.click({700, 400}); }, true},
        {"15 s", [&] { advance(15); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t monitorsBefore = platform::EventMonitors::shared().localMonitorCount();
        runOneMinute();
        ASSERT_EQ(reminderPanels().size(), 1u);
        std::size_t seenAfter = 0;
        auto counter = platform::EventMonitors::shared().addLocalMonitor(
            platform::anyEventMask, [&](const Event& event) -> std::optional<Event> {
                if (event.type == EventType::keyDown || event.type == EventType::leftMouseDown) ++seenAfter;
                return event;
            });
        advance(14.5);
        EXPECT_EQ(reminderPanels().size(), 1u) << "still shown just before 15 s";
        c.dismiss();
        advance(0.5);
        runUntilIdle();
        EXPECT_TRUE(reminderPanels().empty());
        EXPECT_FALSE(delegate().tomatoReminderPanel().isShown());
        EXPECT_EQ(platform::EventMonitors::shared().localMonitorCount(), monitorsBefore + 1)
            << "only the test's own monitor is left";
        if (c.swallowed) {
            EXPECT_EQ(seenAfter, 0u) << "the dismissing input reaches nothing else";
        }
        // The reminder's monitor is gone: input flows again.
        keyboard.press('a');
        EXPECT_GE(seenAfter, 1u);
        if (counter) platform::EventMonitors::shared().removeMonitor(*counter);
    }
}

TEST_F(PomodoroTest, OtherKeysReachTheApplicationAndKeepTheReminder) {
    runOneMinute();
    std::vector<std::uint16_t> seen;
    auto counter = platform::EventMonitors::shared().addLocalMonitor(
        platform::eventMask(EventType::keyDown), [&](const Event& event) -> std::optional<Event> {
            seen.push_back(event.keyCode);
            return event;
        });
    keyboard.press('a');
    keyboard.press(36, "\r");
    EXPECT_EQ(seen.size(), 2u);
    EXPECT_EQ(reminderPanels().size(), 1u);
    if (counter) platform::EventMonitors::shared().removeMonitor(*counter);
}

TEST_F(PomodoroTest, StartingWhileOneRunsReplacesItSilently) {
    delegate().startPomodoro(1);
    advance(30);
    delegate().startPomodoro(2);
    advance(60);
    EXPECT_EQ(countdownTitle(), "关闭这个番茄闹钟 · 00:01:00");
    EXPECT_EQ(glassCount(), 0u);
    EXPECT_TRUE(reminderPanels().empty());
    // The same menu item stops it, without sound or reminder.
    delegate().startDefaultPomodoro();
    advance(120);
    EXPECT_EQ(glassCount(), 0u);
    EXPECT_TRUE(reminderPanels().empty());
}

TEST_F(PomodoroTest, ReminderSpeaksEnglishOutsideTheChineseLanguages) {
    InterfaceLanguage::setCurrent(InterfaceLanguage::english);
    runOneMinute();
    const auto panels = reminderPanels();
    ASSERT_EQ(panels.size(), 1u);
    std::vector<std::string> texts;
    collectTexts(*panels.front()->contentView(), texts);
    EXPECT_EQ(texts, (std::vector<std::string>{"🍅", "Time's up!"}));
}

}  // namespace
}  // namespace tallowmere::testing
