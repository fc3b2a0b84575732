#include "platform/desktop/ax_element.h"

#include <gtest/gtest.h>

#include "support/desktop/simulated_desktop_test.h"

namespace tallowmere::testing {
namespace {

using platform::AXElement;
using platform::AXError;
using platform::AXPoint;
using platform::AXRect;
using platform::AXValue;
using platform::Size;
namespace AXAttribute = platform::AXAttribute;

class AXElementTest : public SimulatedDesktopTest {
  protected:
    void SetUp() override { setup.grantAccessibility(); }

    std::shared_ptr<platform::SimulatedWindow> editorWindow(platform::WindowSpec spec = {}) {
        if (spec.title.empty()) spec.title = "Notes";
        return setup.addFrontWindow({.bundleIdentifier = "com.example.editor", .name = "Editor"},
                                    spec);
    }

    static std::optional<AXRect> frameOf(const AXElement& window) {
        auto position = window.attribute(AXAttribute::position);
        auto size = window.attribute(AXAttribute::size);
        if (!position || !size || !position->asPoint() || !size->asSize()) return std::nullopt;
        return AXRect{*position->asPoint(), *size->asSize()};
    }

    std::optional<platform::WindowInfo> listed(int windowNumber) const {
        for (const auto& info :
             desktop.windowServer().windowList(platform::WindowListOption::onScreenOnly)) {
            if (info.windowNumber == windowNumber) return info;
        }
        return std::nullopt;
    }
};

TEST_F(AXElementTest, AWindowMovedThroughAccessibilityIsListedAtItsNewFrame) {
    auto window = editorWindow({.frame = {100, 100, 800, 600}});
    auto windows =
        AXElement::application(window->processIdentifier()).attribute(AXAttribute::windows);
    ASSERT_TRUE(windows);
    ASSERT_EQ(windows->asElements()->size(), 1u);
    const AXElement element = windows->asElements()->front();

    ASSERT_TRUE(element.setAttribute(AXAttribute::position, AXPoint{300, 50}));
    ASSERT_TRUE(element.setAttribute(AXAttribute::size, Size{640, 480}));

    EXPECT_EQ(frameOf(element), (AXRect{300, 50, 640, 480}));
    auto info = listed(window->windowNumber());
    ASSERT_TRUE(info);
    EXPECT_EQ(info->bounds, (AXRect{300, 50, 640, 480}));
    EXPECT_EQ(info->ownerName, "Editor");
    EXPECT_EQ(info->ownerPID, window->processIdentifier());
    EXPECT_EQ(window->screenFrame(), (platform::ScreenRect{300, 370, 640, 480}));
}

TEST_F(AXElementTest, SizeWritesObeyTheWindowsRules) {
    auto editor =
        setup.addApplication({.bundleIdentifier = "com.example.editor", .name = "Editor"});
    struct Case {
        const char* window;
        platform::WindowSpec spec;
        Size asked;
        bool sizeWriteSucceeds;
        Size sizeAfter;
    } cases[] = {
        {"refuses any size",
         {.frame = {100, 100, 800, 600}, .resizable = false},
         {300, 200},
         false,
         {800, 600}},
        {"clamps to its minimum",
         {.frame = {100, 100, 800, 600}, .minSize = Size{500, 400}},
         {300, 200},
         true,
         {500, 400}},
        {"clamps to its maximum",
         {.frame = {100, 100, 800, 600}, .maxSize = Size{700, 500}},
         {900, 480},
         true,
         {700, 480}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.window);
        auto window = editor->addWindow(c.spec);
        const AXElement element = window->handle();
        EXPECT_TRUE(element.setAttribute(AXAttribute::position, AXPoint{40, 60}));
        EXPECT_EQ(element.setAttribute(AXAttribute::size, c.asked).ok(), c.sizeWriteSucceeds);
        EXPECT_EQ(window->frame(), (AXRect{{40, 60}, c.sizeAfter})) << "the position write holds";
        EXPECT_EQ(element.isAttributeSettable(AXAttribute::size).value(), c.sizeWriteSucceeds);
    }
}

TEST_F(AXElementTest, HitTestGivesTheFrontmostWindowsDeepestElementAndItsParents) {
    auto back = editorWindow({.title = "Back", .frame = {100, 100, 800, 600}});
    auto front = desktop.application("com.example.editor")
                     ->addWindow({.title = "Front", .frame = {200, 150, 600, 400}});
    auto group = front->addElement({.role = "AXGroup", .frame = {0, 40, 600, 360}});
    // Frames of controls are relative to their window.
    auto field =
        group->addElement({.role = "AXTextField", .frame = {20, 60, 200, 24}, .value = "hello"});

    auto hit = AXElement::systemWide().elementAtPosition({200 + 25, 150 + 65});
    ASSERT_TRUE(hit);
    EXPECT_EQ(*hit, field->handle());
    std::vector<std::string> roles;
    for (auto element = *hit; element;) {
        roles.push_back(*element.attribute(AXAttribute::role)->asString());
        auto parent = element.attribute(AXAttribute::parent);
        if (!parent) break;
        element = *parent->asElement();
    }
    EXPECT_EQ(roles,
              (std::vector<std::string>{"AXTextField", "AXGroup", "AXWindow", "AXApplication"}));
    EXPECT_EQ(*hit->attribute(AXAttribute::window)->asElement(), front->handle());

    // Where only the back window is, it is hit; outside every window nothing.
    EXPECT_EQ(*AXElement::systemWide().elementAtPosition({850, 650}), back->handle());
    EXPECT_EQ(platform::axErrorOf(AXElement::systemWide().elementAtPosition({1300, 850})),
              AXError::noValue);

    // Raising the back window puts it in front for the hit test too.
    ASSERT_TRUE(back->handle().performAction(platform::AXAction::raise));
    EXPECT_EQ(*AXElement::systemWide().elementAtPosition({300, 300}), back->handle());
}

TEST_F(AXElementTest, RequestsFailTheWayTheMacsDo) {
    auto window = editorWindow();
    auto app = desktop.application("com.example.editor");
    const AXElement element = window->handle();
    struct Case {
        const char* situation;
        std::function<void()> arrange;
        AXError expected;
    } cases[] = {
        {"unknown attribute", [] {}, AXError::attributeUnsupported},
        {"not trusted", [&] { setup.grantAccessibility(false); }, AXError::apiDisabled},
        {"application without Accessibility", [&] { app->setAccessibilityEnabled(false); },
         AXError::notImplemented},
        {"application not answering", [&] { app->setResponsive(false); }, AXError::cannotComplete},
        {"window closed", [&] { window->close(); }, AXError::invalidElement},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        setup.grantAccessibility();
        app->setAccessibilityEnabled(true);
        app->setResponsive(true);
        c.arrange();
        const char* attribute =
            c.expected == AXError::attributeUnsupported ? "AXNoSuchThing" : AXAttribute::title;
        EXPECT_EQ(platform::axErrorOf(element.attribute(attribute)), c.expected);
    }
    EXPECT_EQ(platform::axErrorOf(AXElement().attribute(AXAttribute::role)),
              AXError::invalidElement);
    EXPECT_EQ(
        platform::axErrorOf(window->handle().setAttribute(AXAttribute::position, AXValue("left"))),
        AXError::invalidElement);
}

TEST_F(AXElementTest, WindowAttributesReadAndWriteTheModel) {
    auto window = editorWindow({.frame = {100, 100, 800, 600}, .document = "/Users/me/Notes.txt"});
    const AXElement element = window->handle();
    EXPECT_EQ(*element.attribute(AXAttribute::title)->asString(), "Notes");
    EXPECT_EQ(*element.attribute(AXAttribute::document)->asString(), "/Users/me/Notes.txt");
    EXPECT_EQ(*element.attribute(AXAttribute::subrole)->asString(), "AXStandardWindow");
    EXPECT_EQ(element.attribute(AXAttribute::main)->asBool(), true);
    EXPECT_EQ(*element.processIdentifier(), window->processIdentifier());

    ASSERT_TRUE(element.setAttribute(AXAttribute::minimized, true));
    EXPECT_TRUE(window->isMinimized());
    EXPECT_FALSE(listed(window->windowNumber())) << "a minimised window leaves the on-screen list";
    ASSERT_TRUE(element.setAttribute(AXAttribute::minimized, false));
    EXPECT_TRUE(listed(window->windowNumber()));

    // The close button closes the window for good.
    auto close = element.attribute(AXAttribute::closeButton);
    ASSERT_TRUE(close);
    ASSERT_TRUE(close->asElement()->performAction(platform::AXAction::press));
    EXPECT_FALSE(element.isValid());
    EXPECT_TRUE(desktop.application("com.example.editor")->windows().empty());
}

TEST_F(AXElementTest, OwnWindowsAreOwnedByThisProcessAndNotMovableFromOutside) {
    const int number = desktop.windowServer().registerOwnWindow(
        {.frame = {100, 100, 400, 300}, .title = "Settings", .visible = true});
    auto hit = AXElement::systemWide().elementAtPosition(
        desktop.screens().toAX(platform::ScreenPoint{200, 200}));
    ASSERT_TRUE(hit);
    EXPECT_EQ(*hit->processIdentifier(), desktop.currentProcessIdentifier());
    EXPECT_EQ(frameOf(*hit), (AXRect{100, 500, 400, 300}));
    EXPECT_FALSE(hit->setAttribute(AXAttribute::position, AXPoint{0, 0}));
    desktop.windowServer().removeOwnWindow(number);
    EXPECT_FALSE(hit->isValid());
}

TEST_F(AXElementTest, EmptyMenuBarHitsTheFrontmostApplicationsMenuBar) {
    setup.addFrontWindow({.bundleIdentifier = "com.example.editor",
                          .name = "Editor",
                          .menuTitles = {"File", "Edit"}},
                         {.title = "Notes"});
    auto title = AXElement::systemWide().elementAtPosition({60, 10});
    ASSERT_TRUE(title);
    EXPECT_EQ(*title->attribute(AXAttribute::role)->asString(), "AXMenuBarItem");
    auto empty = AXElement::systemWide().elementAtPosition({1200, 10});
    ASSERT_TRUE(empty);
    EXPECT_EQ(*empty->attribute(AXAttribute::role)->asString(), "AXMenuBar");
}

}  // namespace
}  // namespace tallowmere::testing
