#include <gtest/gtest.h>

#include "platform/ui/event_monitors.h"
#include "platform/ui/view.h"
#include "platform/ui/window.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere::platform {
namespace {

// A view that counts the presses that reach it.
class PressCounter final : public View {
public:
    static std::shared_ptr<PressCounter> make(Rect frame) { return std::shared_ptr<PressCounter>(new PressCounter(frame)); }
    void mouseDown(const Event&) override { ++presses; }
    int presses = 0;

private:
    explicit PressCounter(Rect frame) : View(frame) {}
};

class EventMonitorsTest : public testing::DesktopTest {
protected:
    void SetUp() override {
        window = Window::make(ScreenRect{100, 100, 400, 300}, WindowStyleMask::titled);
        content = PressCounter::make({0, 0, 400, 300});
        window->setContentView(content);
        window->orderFront();
    }

    void press(ScreenPoint point) {
        desktop.post(Event::mouse(EventType::leftMouseDown, point));
        desktop.post(Event::mouse(EventType::leftMouseUp, point));
    }

    std::shared_ptr<Window> window;
    std::shared_ptr<PressCounter> content;
    const ScreenPoint insideWindow{200, 200};
    const ScreenPoint onDesktop{900, 600};
};

TEST_F(EventMonitorsTest, LocalMonitorThatSwallowsAPressKeepsItFromTheWindow) {
    int seen = 0;
    auto token = EventMonitors::shared().addLocalMonitor(eventMask(EventType::leftMouseDown), [&](const Event&) {
        ++seen;
        return std::optional<Event>{};
    });
    ASSERT_TRUE(token);

    press(insideWindow);
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(content->presses, 0) << "a swallowed press still reached the window";

    EventMonitors::shared().removeMonitor(*token);
    press(insideWindow);
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(content->presses, 1);
}

TEST_F(EventMonitorsTest, LocalMonitorMayChangeTheEventItPasses) {
    EventMonitors::shared().addLocalMonitor(eventMask(EventType::leftMouseDown), [](const Event& event) {
        Event changed = event;
        changed.clickCount = 2;
        return std::optional<Event>(changed);
    });
    int clickCountSeen = 0;
    EventMonitors::shared().addLocalMonitor(eventMask(EventType::leftMouseDown), [&](const Event& event) {
        clickCountSeen = event.clickCount;
        return std::optional<Event>(event);
    });
    press(insideWindow);
    EXPECT_EQ(clickCountSeen, 2);
    EXPECT_EQ(content->presses, 1);
}

TEST_F(EventMonitorsTest, GlobalMonitorSeesOnlyEventsOutsideTheProgramsWindows) {
    std::vector<ScreenPoint> global, local;
    const auto mask = eventMask(EventType::leftMouseDown) | eventMask(EventType::leftMouseUp);
    EventMonitors::shared().addGlobalMonitor(mask, [&](const Event& event) { global.push_back(event.location); });
    EventMonitors::shared().addLocalMonitor(mask, [&](const Event& event) {
        local.push_back(event.location);
        return std::optional<Event>(event);
    });

    press(insideWindow);
    press(onDesktop);

    EXPECT_EQ(local, (std::vector<ScreenPoint>{insideWindow, insideWindow}));
    EXPECT_EQ(global, (std::vector<ScreenPoint>{onDesktop, onDesktop}));
}

TEST_F(EventMonitorsTest, ClicksPassThroughAWindowThatIgnoresTheMouse) {
    auto overlay = Window::make(ScreenRect{0, 0, 1440, 900}, WindowStyleMask::borderless);
    overlay->setLevel(WindowLevel::floating);
    overlay->setIgnoresMouseEvents(true);
    overlay->orderFront();
    int globalPresses = 0;
    EventMonitors::shared().addGlobalMonitor(eventMask(EventType::leftMouseDown), [&](const Event&) { ++globalPresses; });

    press(insideWindow);
    press(onDesktop);
    EXPECT_EQ(content->presses, 1) << "the overlay took a click meant for the window below";
    EXPECT_EQ(globalPresses, 1);
}

TEST_F(EventMonitorsTest, MaskSelectsTheEventTypes) {
    int scrolls = 0;
    EventMonitors::shared().addGlobalMonitor(eventMask(EventType::scrollWheel), [&](const Event&) { ++scrolls; });
    press(onDesktop);
    desktop.post(Event::scroll(onDesktop, 0, 10, EventPhase::began));
    EXPECT_EQ(scrolls, 1);
    EXPECT_FALSE(EventMonitors::shared().addGlobalMonitor(0, [](const Event&) {}));
}

TEST_F(EventMonitorsTest, GlobalKeyEventsNeedAccessibilityTrust) {
    auto other = desktop.addApplication({.bundleIdentifier = "com.example.editor", .name = "Editor"});
    ASSERT_TRUE(other);
    (*other)->runningApplication()->activate({.ignoringOtherApps = true});
    int keys = 0;
    EventMonitors::shared().addGlobalMonitor(eventMask(EventType::keyDown), [&](const Event&) { ++keys; });

    desktop.post(Event::key(EventType::keyDown, KeyCode::a, "a"));
    EXPECT_EQ(keys, 0);
    desktop.accessibility().setTrusted(true);
    desktop.post(Event::key(EventType::keyDown, KeyCode::a, "a"));
    EXPECT_EQ(keys, 1);
}

TEST_F(EventMonitorsTest, MonitorRemovedByAnEarlierOneIsNotCalled) {
    int secondCalls = 0;
    std::optional<EventMonitorToken> second;
    EventMonitors::shared().addGlobalMonitor(eventMask(EventType::leftMouseDown), [&](const Event&) {
        if (second) EventMonitors::shared().removeMonitor(*second);
    });
    second = EventMonitors::shared().addGlobalMonitor(eventMask(EventType::leftMouseDown), [&](const Event&) { ++secondCalls; });
    press(onDesktop);
    EXPECT_EQ(secondCalls, 0);
    EXPECT_EQ(EventMonitors::shared().globalMonitorCount(), 1u);
}

}  // namespace
}  // namespace tallowmere::platform
