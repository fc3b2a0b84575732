#include "windows/accessibility.h"

#include <gtest/gtest.h>

#include "platform/desktop/desktop.h"
#include "platform/ui/window.h"
#include "support/geometry_printing.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere {
namespace {

using platform::AXElement;
using platform::AXRect;
using platform::AXValue;
using platform::ElementSpec;
using platform::ScreenPoint;
using platform::SimulatedWindow;
using platform::Size;
using platform::WindowSpec;
namespace AXAttribute = platform::AXAttribute;

class AccessibilityTest : public testing::DesktopTest {
protected:
    AccessibilityTest() { setup.grantAccessibility(); }

    // A window of the one other application, brought to the front.
    std::shared_ptr<SimulatedWindow> addWindow(WindowSpec spec) {
        auto window = editor->addWindow(std::move(spec));
        window->raise();
        return window;
    }
    std::shared_ptr<platform::SimulatedApplication> editor =
        setup.addApplication({.bundleIdentifier = "com.example.editor", .name = "Editor"});
    static AXElement handle(const std::shared_ptr<SimulatedWindow>& window) { return window->handle(); }
    // A screen-space point inside the window, `dx`, `dy` from its top-left.
    ScreenPoint pointIn(const SimulatedWindow& window, double dx, double dy) {
        return desktop.screens().toScreen(window.frame().origin.offsetBy(dx, dy));
    }
};

TEST_F(AccessibilityTest, SetFrameIsTrueOnlyWhenTheWindowEndsUpWithinAPoint) {
    struct Case {
        const char* what;
        WindowSpec window;
        AXRect asked;
        bool expected;
    } cases[] = {
        {"an ordinary window takes it", {.frame = {100, 100, 800, 600}}, {0, 24, 720, 876}, true},
        {"minimum size 1 pt larger: close enough", {.frame = {100, 100, 800, 600}, .minSize = Size{721, 100}},
         {0, 24, 720, 876}, true},
        {"minimum size 2 pt larger: not the asked frame", {.frame = {100, 100, 800, 600}, .minSize = Size{722, 100}},
         {0, 24, 720, 876}, false},
        {"refuses any size although it moved", {.frame = {100, 100, 800, 600}, .resizable = false},
         {0, 24, 720, 876}, false},
        {"refuses to move", {.frame = {100, 100, 800, 600}, .movable = false}, {0, 24, 720, 876}, false},
        {"fractional frame within a point", {.frame = {100, 100, 800, 600}}, {0.4, 24.6, 720.5, 875.5}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto window = addWindow(c.window);
        EXPECT_EQ(Accessibility::setFrame(c.asked, handle(window)), c.expected);
        if (c.window.movable) {
            EXPECT_EQ(window->frame().origin, c.asked.origin);
        }
        window->close();
    }
}

TEST_F(AccessibilityTest, SetFrameWithAWriteRefusedIsFalse) {
    auto window = addWindow({.frame = {100, 100, 800, 600}});
    window->failAttribute(AXAttribute::size, platform::AXError::cannotComplete);
    EXPECT_FALSE(Accessibility::setFrame({0, 24, 720, 876}, handle(window)));
    EXPECT_FALSE(Accessibility::setFrame({NAN, 24, 720, 876}, handle(window)));
}

TEST_F(AccessibilityTest, FrameNeedsBothPositionAndSizeOfTheRightKind) {
    auto window = addWindow({.frame = {100, 120, 800, 600}});
    EXPECT_EQ(Accessibility::frame(handle(window)), (AXRect{100, 120, 800, 600}));
    window->setAttribute(AXAttribute::size, AXValue("800x600"));
    EXPECT_EQ(Accessibility::frame(handle(window)), std::nullopt);
    window->removeAttribute(AXAttribute::size);
    window->failAttribute(AXAttribute::position, platform::AXError::cannotComplete);
    EXPECT_EQ(Accessibility::frame(handle(window)), std::nullopt);
}

TEST_F(AccessibilityTest, WindowAtPointWalksUpAtMostEightElements) {
    auto window = addWindow({.title = "Notes", .frame = {100, 100, 800, 600}});
    // Groups nested `depth` deep that do not name their window, so only the
    // walk up the parents can find it.
    auto nest = [&](int depth) {
        std::shared_ptr<platform::SimulatedElement> parent = window;
        for (int i = 0; i < depth; ++i) {
            parent = parent->addElement({.frame = {10, 40, 300, 200}});
            parent->failAttribute(AXAttribute::window, platform::AXError::attributeUnsupported);
        }
        return parent;
    };
    auto seven = nest(7);
    EXPECT_EQ(Accessibility::windowAtCocoaPoint(pointIn(*window, 50, 80)), handle(window))
        << "the window is the eighth element of the walk";
    seven->removeFromParent();

    nest(8);
    EXPECT_EQ(Accessibility::windowAtCocoaPoint(pointIn(*window, 50, 80)), std::nullopt)
        << "the window would be the ninth element";

    // An element that names its window ends the walk at once.
    window->addElement({.role = platform::AXRole::button, .frame = {500, 300, 60, 30}});
    EXPECT_EQ(Accessibility::windowAtCocoaPoint(pointIn(*window, 510, 310)), handle(window));
    EXPECT_EQ(Accessibility::windowAtCocoaPoint({1300, 50}), std::nullopt) << "over the desktop";
}

TEST_F(AccessibilityTest, WithoutTrustEveryAnswerIsEmpty) {
    auto window = addWindow({.title = "Notes", .frame = {100, 100, 800, 600}, .document = "/tmp/a.txt"});
    setup.grantAccessibility(false);
    auto ax = handle(window);
    EXPECT_EQ(Accessibility::windows(window->processIdentifier()).size(), 0u);
    EXPECT_EQ(Accessibility::windowAtCocoaPoint(pointIn(*window, 50, 50)), std::nullopt);
    EXPECT_EQ(Accessibility::frame(ax), std::nullopt);
    EXPECT_FALSE(Accessibility::setFrame({0, 24, 400, 400}, ax));
    EXPECT_EQ(window->frame(), (AXRect{100, 100, 800, 600}));
    EXPECT_EQ(Accessibility::title(ax), "");
    EXPECT_FALSE(Accessibility::setMinimized(true, ax));
    EXPECT_EQ(Accessibility::documentURL(ax), std::nullopt);
}

TEST_F(AccessibilityTest, ReadsWindowsTitleAndOwner) {
    auto first = addWindow({.title = "One"});
    auto second = addWindow({.title = "Two"});
    const auto windows = Accessibility::windows(first->processIdentifier());
    ASSERT_EQ(windows.size(), 2u);
    EXPECT_EQ(Accessibility::title(handle(second)), "Two");
    first->setAttribute(AXAttribute::title, AXValue(42));
    EXPECT_EQ(Accessibility::title(handle(first)), "") << "a title that is not text";
    EXPECT_EQ(Accessibility::windows(99999).size(), 0u) << "no such process";
    EXPECT_FALSE(Accessibility::isOwnedByCurrentApplication(handle(first)));

    // The program's own windows are seen through Accessibility too.
    auto own = platform::Window::make(platform::ScreenRect{200, 200, 300, 200}, platform::WindowStyleMask::titled);
    own->orderFront();
    const auto ownWindows = Accessibility::windows(desktop.currentProcessIdentifier());
    ASSERT_EQ(ownWindows.size(), 1u);
    EXPECT_TRUE(Accessibility::isOwnedByCurrentApplication(ownWindows.front()));
}

TEST_F(AccessibilityTest, MinimisingReportsTheStateReachedAfterwards) {
    auto window = addWindow({.title = "Notes"});
    auto ax = handle(window);
    EXPECT_TRUE(Accessibility::setMinimized(false, ax)) << "already in that state";
    EXPECT_FALSE(Accessibility::isMinimized(ax));
    EXPECT_TRUE(Accessibility::setMinimized(true, ax));
    EXPECT_TRUE(window->isMinimized());
    EXPECT_TRUE(Accessibility::isMinimized(ax));

    auto buttonless = addWindow({.title = "Palette", .hasMinimizeButton = false});
    EXPECT_FALSE(Accessibility::setMinimized(true, handle(buttonless)));
    buttonless->setAttribute(AXAttribute::minimized, AXValue("yes"));
    EXPECT_FALSE(Accessibility::isMinimized(handle(buttonless))) << "not a Bool";
}

TEST_F(AccessibilityTest, DocumentURLFromAPathAURLTextOrAURLValue) {
    struct Case {
        const char* what;
        std::optional<AXValue> document;
        std::optional<std::string> url;
    } cases[] = {
        {"plain absolute path", AXValue("/Users/me/My Notes.txt"), "file:///Users/me/My%20Notes.txt"},
        {"file URL text", AXValue("file:///Users/me/a.md"), "file:///Users/me/a.md"},
        {"another scheme", AXValue("https://example.com/x"), "https://example.com/x"},
        {"URL value", AXValue(platform::AXURL{"file:///tmp/b.txt"}), "file:///tmp/b.txt"},
        {"empty text", AXValue(""), std::nullopt},
        {"a number", AXValue(7), std::nullopt},
        {"absent", std::nullopt, std::nullopt},
    };
    auto window = addWindow({.title = "Doc"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.document) window->setAttribute(AXAttribute::document, *c.document);
        else window->removeAttribute(AXAttribute::document);
        auto url = Accessibility::documentURL(handle(window));
        EXPECT_EQ(url ? std::optional(url->string()) : std::nullopt, c.url);
    }
}

TEST_F(AccessibilityTest, SecureTextIsFoundWithinEightElementsUpwards) {
    auto window = addWindow({.title = "Login"});
    auto password = window->addElement({.role = platform::AXRole::secureTextField});
    auto bySubrole = window->addElement({.role = platform::AXRole::textField, .subrole = "AXSecureTextField"});
    auto plain = window->addElement({.role = platform::AXRole::textField});
    auto vault = window->addElement({.attributes = {{AXAttribute::protectedContent, AXValue(true)}}});
    std::shared_ptr<platform::SimulatedElement> deep = vault;
    for (int i = 0; i < 7; ++i) deep = deep->addElement({});
    auto deeper = deep->addElement({});
    struct Case {
        const char* what;
        std::shared_ptr<platform::SimulatedElement> element;
        bool secure;
    } cases[] = {
        {"password field", password, true},
        {"secure subrole", bySubrole, true},
        {"plain text field", plain, false},
        {"seven below protected content", deep, true},
        {"eight below protected content", deeper, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Accessibility::isSecureTextElement(c.element->handle()), c.secure);
    }
}

TEST_F(AccessibilityTest, PermissionPromptOpensThePrivacyPane) {
    presentAccessibilityPermissionPrompt();
    ASSERT_EQ(desktop.workspace().openedURLs().size(), 1u);
    EXPECT_EQ(desktop.workspace().openedURLs().front(),
              "x-apple.systempreferences:com.apple.preference.security?Privacy_Accessibility");
    EXPECT_TRUE(alerts.shown().empty());
}

}  // namespace
}  // namespace tallowmere
