#include "quicklaunch/paste_enabled_text_field.h"

#include <gtest/gtest.h>

#include "platform/desktop/event.h"
#include "platform/desktop/pasteboard.h"
#include "platform/ui/window.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere {
namespace {

using platform::Event;
using platform::EventType;
using platform::ModifierFlags;

class PasteEnabledTextFieldTest : public testing::DesktopTest {};

TEST_F(PasteEnabledTextFieldTest, PastesPlainTextWithCommandVAlone) {
    auto window = platform::Window::make<platform::Window>(platform::ScreenRect{{100, 100}, {300, 100}},
                                                           platform::WindowStyleMask{platform::WindowStyleMask::titled});
    window->setContentView(platform::View::make({{0, 0}, {300, 100}}));
    struct Case {
        const char* name;
        std::uint64_t flags;
        std::string key;
        std::optional<std::string> pasteboard;
        bool handled;
        std::string text;
    } cases[] = {
        {"Command+V", ModifierFlags::command, "v", "pasted", true, "abpastedf"},
        {"Command+V typed as a capital", ModifierFlags::command, "V", "pasted", true, "abpastedf"},
        {"Command+Shift+V", ModifierFlags::command | ModifierFlags::shift, "v", "pasted", false, "abcdef"},
        {"Command+V with Caps Lock on", ModifierFlags::command | ModifierFlags::capsLock, "v", "pasted", false,
         "abcdef"},
        {"an empty pasteboard", ModifierFlags::command, "v", std::nullopt, false, "abcdef"},
        {"Command+C", ModifierFlags::command, "c", "pasted", false, "abcdef"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto field = PasteEnabledTextField::make("abcdef");
        field->setFrame({10, 10, 200, 22});
        window->contentView()->addSubview(field);
        ASSERT_TRUE(window->makeFirstResponder(field));
        ASSERT_TRUE(field->isEditing());
        field->setSelectedRange({2, 3});  // "cde"
        auto& pasteboard = platform::Pasteboard::general();
        pasteboard.clearContents();
        if (c.pasteboard) pasteboard.setString(*c.pasteboard);
        Event key = Event::key(EventType::keyDown, 9, c.key, ModifierFlags{c.flags});
        key.charactersIgnoringModifiers = c.key;
        EXPECT_EQ(field->performKeyEquivalent(key), c.handled);
        EXPECT_EQ(field->stringValue(), c.text);
        field->removeFromSuperview();
    }
}

}  // namespace
}  // namespace tallowmere
