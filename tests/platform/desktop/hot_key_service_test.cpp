#include "platform/desktop/hot_key_service.h"

#include <gtest/gtest.h>

#include "support/desktop/simulated_desktop_test.h"

namespace tallowmere::testing {
namespace {

using platform::HotKeyEvent;
using platform::HotKeyIdentifier;
using platform::HotKeyService;
using platform::ModifierFlags;

constexpr HotKeyIdentifier grab{platform::fourCharCode("GRAB"), 1};

class HotKeyServiceTest : public SimulatedDesktopTest {
protected:
    void SetUp() override {
        editor = setup.addApplication({.bundleIdentifier = "com.example.editor", .name = "Editor"});
        editor->addWindow({.title = "Notes", .frame = {100, 100, 800, 600}});
        desktop.activate(*editor);
        desktop.setEventRouter([this](const platform::Event& event) {
            if (event.type == platform::EventType::keyDown) ++programKeys;
            return false;
        });
    }
    HotKeyService& hotKeys() { return desktop.hotKeys(); }
    std::size_t editorKeyDowns() const {
        std::size_t count = 0;
        for (const auto& event : editor->receivedEvents()) count += event.type == platform::EventType::keyDown;
        return count;
    }

    std::shared_ptr<platform::SimulatedApplication> editor;
    int programKeys = 0;
};

TEST_F(HotKeyServiceTest, ARegisteredKeyGoesToItsHandlerAndNowhereElse) {
    std::vector<std::optional<HotKeyIdentifier>> delivered;
    HotKeyService::HandlerRef handler;
    ASSERT_EQ(hotKeys().installHandler(
                  [&](const HotKeyEvent* event) {
                      delivered.push_back(event ? event->directObject : std::nullopt);
                      return HotKeyService::noErr;
                  },
                  handler),
              HotKeyService::noErr);
    HotKeyService::HotKeyRef hotKey;
    ASSERT_EQ(hotKeys().registerHotKey(0, HotKeyService::cmdKey, grab, hotKey), HotKeyService::noErr);

    struct Case {
        const char* name;
        ModifierFlags modifiers;
        bool isHotKey;
    } cases[] = {
        {"Command+A", {ModifierFlags::command}, true},
        {"A alone", {}, false},
        {"Command+Shift+A", {ModifierFlags::command | ModifierFlags::shift}, false},
        {"Command+A with Caps Lock", {ModifierFlags::command | ModifierFlags::capsLock}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        delivered.clear();
        const auto editorBefore = editorKeyDowns();
        const int programBefore = programKeys;
        keyboard.press('a', c.modifiers);
        EXPECT_EQ(delivered.size(), c.isHotKey ? 1u : 0u);
        if (c.isHotKey) {
            EXPECT_EQ(delivered.front(), grab);
        }
        EXPECT_EQ(editorKeyDowns() - editorBefore, c.isHotKey ? 0u : 1u) << "the frontmost application";
        EXPECT_EQ(programKeys - programBefore, c.isHotKey ? 0 : 1) << "the program's monitors";
    }

    hotKeys().unregisterHotKey(hotKey);
    delivered.clear();
    keyboard.press('a', ModifierFlags{ModifierFlags::command});
    EXPECT_TRUE(delivered.empty());
    EXPECT_EQ(editorKeyDowns(), 3u) << "Select All is the editor's again";
}

TEST_F(HotKeyServiceTest, HandlersRunNewestFirstUntilOneHandlesIt) {
    std::vector<std::string> order;
    HotKeyService::HandlerRef first, second;
    hotKeys().installHandler([&](const HotKeyEvent*) { order.push_back("first"); return HotKeyService::noErr; }, first);
    hotKeys().installHandler(
        [&](const HotKeyEvent*) { order.push_back("second"); return HotKeyService::eventNotHandledErr; }, second);
    HotKeyService::HotKeyRef hotKey;
    hotKeys().registerHotKey(0, HotKeyService::cmdKey, grab, hotKey);
    keyboard.press('a', ModifierFlags{ModifierFlags::command});
    EXPECT_EQ(order, (std::vector<std::string>{"second", "first"}));
}

TEST_F(HotKeyServiceTest, ACombinationAlreadyHeldIsRefused) {
    HotKeyService::HotKeyRef mine, again, other;
    hotKeys().reserveForOtherApplication(1, HotKeyService::cmdKey | HotKeyService::shiftKey);
    EXPECT_EQ(hotKeys().registerHotKey(1, HotKeyService::cmdKey | HotKeyService::shiftKey, grab, other),
              HotKeyService::hotKeyExistsErr);
    EXPECT_EQ(hotKeys().registerHotKey(0, HotKeyService::cmdKey, grab, mine), HotKeyService::noErr);
    EXPECT_EQ(hotKeys().registerHotKey(0, HotKeyService::cmdKey, grab, again), HotKeyService::hotKeyExistsErr);
    EXPECT_EQ(hotKeys().registeredCount(), 1u);
}

}  // namespace
}  // namespace tallowmere::testing
