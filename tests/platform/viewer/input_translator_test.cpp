#include "platform/viewer/input_translator.h"

#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <vector>

#include "platform/viewer/key_code_map.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere::platform {
namespace {

using Kind = ViewerInput::Kind;

// The viewer's window at half scale over the fixture's 1440 × 900 screen.
class InputTranslatorTest : public testing::DesktopTest {
  protected:
    InputTranslator translator{desktop, context().mainQueue(),
                               ViewerGeometry({0, 0, 1440, 900}, 0.5)};
    std::size_t seenBefore = desktop.postedEvents().size();

    ViewerInput input(Kind kind, PixelPoint pixel = {100, 100}, ModifierFlags modifiers = {}) {
        ViewerInput made;
        made.kind = kind;
        made.timestamp = clock().uptime();
        made.pixel = pixel;
        made.modifiers = modifiers;
        return made;
    }
    void button(Kind kind, int number, PixelPoint pixel = {100, 100}) {
        auto made = input(kind, pixel);
        made.button = number;
        translator.handle(made);
    }
    void key(Kind kind, std::uint32_t keysym, std::string text = {}, ModifierFlags modifiers = {},
             bool repeat = false) {
        auto made = input(kind, {}, modifiers);
        made.keysym = keysym;
        made.text = text;
        made.textIgnoringModifiers = text;
        made.isRepeat = repeat;
        translator.handle(made);
    }
    // The events the desktop received since the last call.
    std::vector<Event> posted() {
        const auto& all = desktop.postedEvents();
        std::vector<Event> fresh(all.begin() + static_cast<std::ptrdiff_t>(seenBefore), all.end());
        seenBefore = all.size();
        return fresh;
    }
    std::vector<EventType> types(const std::vector<Event>& events) {
        std::vector<EventType> seen;
        for (const auto& event : events) seen.push_back(event.type);
        return seen;
    }
};

TEST_F(InputTranslatorTest, ClicksAreCountedFromTheirTimesAndPlaces) {
    struct Case {
        const char* click;
        double after;
        PixelPoint at;
        int clickCount;
    } cases[] = {
        {"first", 1, {200, 200}, 1},
        {"fast, same pixel: double click", 0.2, {200, 200}, 2},
        {"fast again: triple click", 0.2, {201, 200}, 3},
        {"slow", 0.8, {201, 200}, 1},
        {"fast but far", 0.1, {230, 200}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.click);
        advance(c.after);
        button(Kind::buttonPressed, 0, c.at);
        button(Kind::buttonReleased, 0, c.at);
        const auto events = posted();
        ASSERT_EQ(types(events), (std::vector{EventType::leftMouseDown, EventType::leftMouseUp}));
        EXPECT_EQ(events[0].clickCount, c.clickCount);
        EXPECT_EQ(events[1].clickCount, c.clickCount)
            << "the release did not carry its press's count";
    }
}

TEST_F(InputTranslatorTest, PointerMovesAndDragsWithTheButtonHeld) {
    translator.handle(input(Kind::pointerMoved, {360, 225}));
    button(Kind::buttonPressed, 0, {360, 225});
    translator.handle(input(Kind::pointerMoved, {370, 225}));
    button(Kind::buttonReleased, 0, {370, 225});
    button(Kind::buttonPressed, 1, {370, 225});
    translator.handle(input(Kind::pointerMoved, {380, 225}));
    button(Kind::buttonReleased, 1, {380, 225});
    button(Kind::buttonPressed, 2, {380, 225});
    translator.handle(input(Kind::pointerMoved, {390, 225}));
    button(Kind::buttonReleased, 2, {390, 225});
    const auto events = posted();
    EXPECT_EQ(types(events), (std::vector{EventType::mouseMoved, EventType::leftMouseDown,
                                          EventType::leftMouseDragged, EventType::leftMouseUp,
                                          EventType::rightMouseDown, EventType::rightMouseDragged,
                                          EventType::rightMouseUp, EventType::otherMouseDown,
                                          EventType::otherMouseDragged, EventType::otherMouseUp}));
    EXPECT_EQ(events[0].location, (ScreenPoint{720, 448})) << "pixel (360, 225) at half scale";
    EXPECT_EQ(events[5].buttonNumber, 1);
    EXPECT_EQ(events[8].buttonNumber, 2);
    EXPECT_EQ(desktop.input().mouseLocation(), (ScreenPoint{780, 448}));
    EXPECT_EQ(desktop.input().pressedMouseButtons(), 0u);
}

TEST_F(InputTranslatorTest, ReleaseWithoutItsPressIsDropped) {
    // The press happened in another window; the desktop never saw it.
    button(Kind::buttonReleased, 0);
    button(Kind::buttonPressed, 1);
    button(Kind::buttonPressed, 1);
    EXPECT_EQ(types(posted()), (std::vector{EventType::rightMouseDown}));
}

TEST_F(InputTranslatorTest, KeysCarryTheirCodeCharactersAndModifiers) {
    const ModifierFlags command{ModifierFlags::command};
    key(Kind::keyPressed, XK_c, "c", command);
    key(Kind::keyPressed, XK_c, "c", command, /*repeat=*/true);
    key(Kind::keyReleased, XK_c, "c", command);
    key(Kind::keyPressed, XK_Up);
    key(Kind::keyPressed, XK_BackSpace, "\b");
    key(Kind::keyPressed, XK_Cyrillic_es, "с");
    key(Kind::keyPressed, 0x1008FF13 /* volume up: types nothing */);
    const auto events = posted();
    ASSERT_EQ(types(events),
              (std::vector{EventType::keyDown, EventType::keyDown, EventType::keyUp,
                           EventType::keyDown, EventType::keyDown, EventType::keyDown}));
    EXPECT_EQ(events[0].keyCode, KeyCode::c);
    EXPECT_EQ(events[0].characters, "c");
    EXPECT_EQ(events[0].modifierFlags, command);
    EXPECT_FALSE(events[0].isARepeat);
    EXPECT_TRUE(events[1].isARepeat);
    EXPECT_EQ(events[3].keyCode, 126);
    EXPECT_EQ(events[3].characters, "\uF700");
    EXPECT_EQ(events[3].modifierFlags.rawValue,
              ModifierFlags::function | ModifierFlags::numericPad);
    EXPECT_EQ(events[4].characters, "\x7f") << "Backspace types the platform's Delete";
    EXPECT_EQ(events[5].keyCode, KeyCodeMap::unknownKeyCode);
    EXPECT_EQ(events[5].characters, "с");
}

TEST_F(InputTranslatorTest, ModifierKeysAnnounceThemselvesAsFlagsChanged) {
    const ModifierFlags none{}, shift{ModifierFlags::shift};
    const ModifierFlags shiftCommand{ModifierFlags::shift | ModifierFlags::command};
    key(Kind::keyPressed, XK_Shift_L, {}, none);
    key(Kind::keyPressed, XK_Super_L, {}, shift);
    key(Kind::keyReleased, XK_Super_L, {}, shiftCommand);
    key(Kind::keyReleased, XK_Shift_L, {}, shift);
    key(Kind::keyPressed, XK_Caps_Lock, {}, none);
    key(Kind::keyReleased, XK_Caps_Lock, {}, {ModifierFlags::capsLock});
    const auto events = posted();
    std::vector<std::pair<std::uint16_t, std::uint64_t>> seen;
    for (const auto& event : events) {
        EXPECT_EQ(event.type, EventType::flagsChanged);
        seen.emplace_back(event.keyCode, event.modifierFlags.rawValue);
    }
    EXPECT_EQ(seen, (std::vector<std::pair<std::uint16_t, std::uint64_t>>{
                        {56, ModifierFlags::shift},
                        {55, ModifierFlags::shift | ModifierFlags::command},
                        {55, ModifierFlags::shift},
                        {56, 0},
                        {57, ModifierFlags::capsLock},
                    }));
}

TEST_F(InputTranslatorTest, LosingTheKeyboardLetsGoOfHeldModifiers) {
    key(Kind::keyPressed, XK_Super_L);
    translator.handle(input(Kind::focusLost));
    translator.handle(input(Kind::focusLost));
    const auto events = posted();
    ASSERT_EQ(types(events), (std::vector{EventType::flagsChanged, EventType::flagsChanged}));
    EXPECT_EQ(events[1].modifierFlags, ModifierFlags{});
    EXPECT_EQ(desktop.input().modifierFlags(), ModifierFlags{});
}

TEST_F(InputTranslatorTest, WheelNotchesAreCoarseStepsWithoutPhases) {
    auto notch = input(Kind::wheel, {360, 225});
    notch.wheelY = -1;
    translator.handle(notch);
    translator.handle(notch);
    advance(1);
    const auto events = posted();
    ASSERT_EQ(types(events), (std::vector{EventType::scrollWheel, EventType::scrollWheel}));
    for (const auto& event : events) {
        EXPECT_EQ(event.phase, EventPhase::none);
        EXPECT_EQ(event.momentumPhase, EventPhase::none);
        EXPECT_FALSE(event.hasPreciseScrollingDeltas);
        EXPECT_EQ(event.deltaY, -1);
        EXPECT_EQ(event.location, (ScreenPoint{720, 448}));
    }
}

TEST_F(InputTranslatorTest, ATouchpadSwipeIsAPreciseGestureWithPhasesThatAPressEnds) {
    auto swipe = input(Kind::smoothScroll, {360, 225});
    swipe.scrollY = -12.5;
    swipe.isDirectionInverted = true;
    translator.handle(swipe);
    advance(0.05);
    translator.handle(swipe);
    button(Kind::buttonPressed, 0, {360, 225});
    advance(1);
    const auto events = posted();
    ASSERT_EQ(types(events), (std::vector{EventType::scrollWheel, EventType::scrollWheel, EventType::scrollWheel,
                                          EventType::scrollWheel, EventType::leftMouseDown}));
    const std::vector<EventPhase> phases{EventPhase::began, EventPhase::changed, EventPhase::changed,
                                         EventPhase::ended};
    for (std::size_t i = 0; i < phases.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(events[i].phase, phases[i]) << "the press came before the gesture ended";
        EXPECT_TRUE(events[i].hasPreciseScrollingDeltas);
        EXPECT_TRUE(events[i].isDirectionInvertedFromDevice);
        EXPECT_EQ(events[i].momentumPhase, EventPhase::none);
    }
    EXPECT_EQ(events[1].scrollingDeltaY, -12.5) << "points, as the fingers moved";
    EXPECT_EQ(events[0].scrollingDeltaY, 0);
    EXPECT_EQ(events[2].location, (ScreenPoint{720, 448}));

    // Lifting the fingers is a pause: the gesture ends by itself.
    translator.handle(swipe);
    advance(ScrollPhaseSynthesizer::burstEndDelay + 0.01);
    const auto lifted = posted();
    ASSERT_EQ(lifted.size(), 3u);
    EXPECT_EQ(lifted.back().phase, EventPhase::ended);
}

}  // namespace
}  // namespace tallowmere::platform
