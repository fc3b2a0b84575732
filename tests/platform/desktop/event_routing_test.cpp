#include <gtest/gtest.h>

#include "support/desktop/simulated_desktop_test.h"

namespace tallowmere::testing {
namespace {

using platform::Event;
using platform::EventPhase;
using platform::EventType;
using platform::ScreenPoint;

class EventRoutingTest : public SimulatedDesktopTest {
  protected:
    void SetUp() override {
        editor = setup.addApplication({.bundleIdentifier = "com.example.editor", .name = "Editor"});
        // AX (100, 100, 800, 600) is screen (100, 200, 800, 600) on the 900-pt primary.
        window = editor->addWindow({.title = "Notes", .frame = {100, 100, 800, 600}});
        own = desktop.windowServer().registerOwnWindow(
            {.frame = {1000, 50, 300, 200}, .title = "Panel", .visible = true});
        // The program takes what happens over its own windows, as the UI layer does.
        desktop.setEventRouter([this](const Event& event) {
            seen.push_back(event);
            routedLocation = desktop.input().mouseLocation();
            return event.windowNumber == own;
        });
    }

    std::shared_ptr<platform::SimulatedApplication> editor;
    std::shared_ptr<platform::SimulatedWindow> window;
    int own = 0;
    std::vector<Event> seen;
    ScreenPoint routedLocation;
};

TEST_F(EventRoutingTest, TheProgramSeesEveryEventAfterTheInputStateAndKeepsWhatIsItsOwn) {
    mouse.click({1100, 100});
    mouse.click({500, 400});
    ASSERT_EQ(seen.size(), 6u);
    EXPECT_EQ(routedLocation, (ScreenPoint{500, 400}))
        << "the input state moved before the router ran";
    EXPECT_EQ(seen[1].windowNumber, own);
    EXPECT_EQ(seen[4].windowNumber, window->windowNumber());
    // Only the click that the program did not take reached the editor.
    std::vector<EventType> received;
    for (const Event& e : editor->receivedEvents()) received.push_back(e.type);
    EXPECT_EQ(received, (std::vector<EventType>{EventType::mouseMoved, EventType::leftMouseDown,
                                                EventType::leftMouseUp}));
}

TEST_F(EventRoutingTest, AClickActivatesTheApplicationAndRaisesItsWindow) {
    auto other = setup.addApplication({.bundleIdentifier = "com.example.viewer", .name = "Viewer"});
    auto cover = other->addWindow({.title = "Cover", .frame = {50, 50, 400, 400}});
    desktop.activate(*other);
    ASSERT_EQ(desktop.windowServer().orderedWindows().front(), cover);

    mouse.click({700, 500});  // on Notes, clear of the cover
    EXPECT_EQ(desktop.frontmostApplication(), editor);
    EXPECT_EQ(desktop.windowServer().orderedWindows().front(), window);
}

TEST_F(EventRoutingTest, DraggingATitleBarMovesTheWindowUnlessItIsFixed) {
    const ScreenPoint grip = mouse.titleBarPoint(*window);
    mouse.dragTitleBar(*window, {grip.x + 100, grip.y - 50});
    EXPECT_EQ(window->frame(), (platform::AXRect{200, 150, 800, 600}));

    // A drag that starts lower in the window is not a title-bar drag.
    mouse.drag({500, 300}, {600, 200});
    EXPECT_EQ(window->frame(), (platform::AXRect{200, 150, 800, 600}));

    window->setMovable(false);
    mouse.dragTitleBar(*window, {grip.x, grip.y});
    EXPECT_EQ(window->frame(), (platform::AXRect{200, 150, 800, 600}));
}

TEST_F(EventRoutingTest, ADragStaysWithTheWindowItStartedIn) {
    mouse.moveTo({500, 400});
    mouse.press();
    mouse.moveTo({1100, 100}, 3);  // over the program's panel
    mouse.release();
    for (const Event& e : seen) {
        if (e.type == EventType::leftMouseDragged || e.type == EventType::leftMouseUp) {
            EXPECT_EQ(e.windowNumber, window->windowNumber());
        }
    }
    EXPECT_EQ(desktop.input().pressedMouseButtons(), 0u);
}

TEST_F(EventRoutingTest, ClickCountsAreWorkedOutWhenNotGiven) {
    struct Case {
        const char* press;
        double after;
        ScreenPoint at;
        int clickCount;
    } cases[] = {
        {"first", 0, {500, 400}, 1},
        {"quick, same place", 0.2, {502, 401}, 2},
        {"quick again", 0.2, {502, 401}, 3},
        {"too slow", 0.6, {502, 401}, 1},
        {"quick but moved away", 0.1, {520, 401}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.press);
        advance(c.after);
        Event down = Event::mouse(EventType::leftMouseDown, c.at, 0);
        desktop.post(down);
        EXPECT_EQ(seen.back().clickCount, c.clickCount);
        desktop.post(Event::mouse(EventType::leftMouseUp, c.at, 0));
        EXPECT_EQ(seen.back().clickCount, c.clickCount) << "the release did not count its press's clicks";
    }
}

// A program a person uses for days must not keep every event it was sent.
TEST_F(EventRoutingTest, PostedEventRecordKeepsOnlyTheRecentEvents) {
    for (int i = 0; i < 10000; ++i) {
        desktop.post(Event::mouse(EventType::mouseMoved, {static_cast<double>(i % 1440), 300}));
    }
    const auto& record = desktop.postedEvents();
    EXPECT_LE(record.size(), 4096u);
    EXPECT_GE(record.size(), 2048u) << "recent events were dropped too";
    EXPECT_EQ(record.back().location.x, 9999 % 1440);
}

TEST_F(EventRoutingTest, ALongPressHoldsTheButtonWhileTimePasses) {
    std::vector<unsigned> buttonsAtTicks;
    auto tick = context().mainQueue().asyncAfter(
        0.5, [&] { buttonsAtTicks.push_back(desktop.input().pressedMouseButtons()); });
    mouse.longPress({500, 400}, 1.0);
    EXPECT_EQ(buttonsAtTicks, (std::vector<unsigned>{1u}));
    ASSERT_GE(seen.size(), 2u);
    EXPECT_NEAR(seen.back().timestamp - seen[seen.size() - 2].timestamp, 1.0, 1e-9);
    EXPECT_EQ(desktop.input().pressedMouseButtons(), 0u);
}

TEST_F(EventRoutingTest, SwipesCarryPhasesPreciseDeltasAndTheInvertedFlag) {
    mouse.moveTo({500, 600});
    seen.clear();
    trackpad.swipe(SwipeDirection::up, 60, {.steps = 3, .momentumSteps = 2});
    std::vector<std::pair<EventPhase, EventPhase>> phases;
    double sumY = 0;
    for (const Event& e : seen) {
        ASSERT_EQ(e.type, EventType::scrollWheel);
        EXPECT_TRUE(e.hasPreciseScrollingDeltas);
        EXPECT_TRUE(e.isDirectionInvertedFromDevice);
        phases.emplace_back(e.phase, e.momentumPhase);
        if (e.momentumPhase == EventPhase::none) sumY += e.scrollingDeltaY;
    }
    using P = EventPhase;
    EXPECT_EQ(phases, (std::vector<std::pair<P, P>>{{P::began, P::none},
                                                    {P::changed, P::none},
                                                    {P::changed, P::none},
                                                    {P::changed, P::none},
                                                    {P::ended, P::none},
                                                    {P::none, P::began},
                                                    {P::none, P::changed},
                                                    {P::none, P::ended}}));
    // Natural scrolling: fingers up give negative deltas; the classic setting the opposite.
    EXPECT_DOUBLE_EQ(sumY, -60);
    seen.clear();
    trackpad.swipe(SwipeDirection::right, 30, {.steps = 3, .naturalScrolling = false});
    EXPECT_FALSE(seen.front().isDirectionInvertedFromDevice);
    EXPECT_DOUBLE_EQ(seen[1].scrollingDeltaX, -10);

    seen.clear();
    trackpad.wheel(3);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_FALSE(seen[0].hasPreciseScrollingDeltas);
    EXPECT_EQ(seen[0].phase, EventPhase::none);
    EXPECT_EQ(seen[0].windowNumber, window->windowNumber())
        << "scrolls go to the window under the pointer";
}

TEST_F(EventRoutingTest, KeysGoToTheFrontmostApplicationOrTheProgramsKeyWindow) {
    desktop.windowServer().setKeyWindow(own);
    mouse.moveTo({700, 500});
    seen.clear();
    keyboard.press('a');
    EXPECT_EQ(seen.back().location, (ScreenPoint{700, 500}));
    EXPECT_EQ(seen[0].windowNumber, own) << "the program is frontmost at first";
    desktop.activate(*editor);
    seen.clear();
    keyboard.press('a', {platform::ModifierFlags::command});
    EXPECT_EQ(seen[1].windowNumber, window->windowNumber());
    EXPECT_EQ(seen[1].modifierFlags.rawValue, platform::ModifierFlags::command);
    EXPECT_EQ(desktop.input().modifierFlags().rawValue, 0u) << "released after the press";

    advance(2.5);
    EXPECT_DOUBLE_EQ(desktop.input().secondsSinceLastEvent(EventType::keyDown), 2.5);
}

}  // namespace
}  // namespace tallowmere::testing
