#include <gtest/gtest.h>

#include "support/desktop/simulated_desktop_test.h"

namespace tallowmere::testing {
namespace {

using platform::AXAttributedString;
using platform::AXElement;
using platform::AXError;
using platform::AXRange;
using platform::AXValue;
namespace AXAttribute = platform::AXAttribute;
namespace AXParameterizedAttribute = platform::AXParameterizedAttribute;

// A text area in a frontmost editor, with "Hello, 世界 🌍!" and style runs.
class AXTextTest : public SimulatedDesktopTest {
  protected:
    void SetUp() override {
        setup.grantAccessibility();
        window = setup.addFrontWindow({.bundleIdentifier = "com.example.editor", .name = "Editor"},
                                      {.title = "Notes", .frame = {100, 100, 800, 600}});
        platform::AXFont helvetica{
            .fontName = "Helvetica", .familyName = "Helvetica", .pointSize = 12};
        text = window->addElement(
            {.role = "AXTextArea",
             .frame = {0, 40, 800, 560},
             .value = "Hello, 世界 🌍!",
             .selectedRange = AXRange{7, 2},
             .editable = true,
             .styleRuns = {{7, {{"NSFont", helvetica}}},
                           {6, {{"AXForegroundColor", platform::AXColor{1, 0, 0, 1}}}}}});
        text->focus();
    }

    std::shared_ptr<platform::SimulatedWindow> window;
    std::shared_ptr<platform::SimulatedElement> text;
};

TEST_F(AXTextTest, SelectionIsReadInUtf16Units) {
    const AXElement element = text->handle();
    EXPECT_EQ(*element.attribute(AXAttribute::selectedText)->asString(), "世界");
    EXPECT_EQ(element.attribute(AXAttribute::selectedTextRange)->asRange(), (AXRange{7, 2}));
    EXPECT_EQ(element.attribute(AXAttribute::numberOfCharacters)->asNumber(), 13.0)
        << "the globe takes two units";

    struct Case {
        AXRange range;
        std::optional<std::string> text;
    } cases[] = {
        {{10, 2}, "🌍"},          {{0, 5}, "Hello"},       {{12, 1}, "!"},
        {{12, 2}, std::nullopt}, {{-1, 2}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.range.location);
        auto read =
            element.parameterizedAttribute(AXParameterizedAttribute::stringForRange, c.range);
        if (c.text) {
            ASSERT_TRUE(read);
            EXPECT_EQ(*read->asString(), *c.text);
        } else {
            EXPECT_EQ(platform::axErrorOf(read), AXError::illegalArgument) << "no cut past the end";
        }
    }
    // Another kind of parameter is refused, not guessed at.
    EXPECT_EQ(platform::axErrorOf(element.parameterizedAttribute(
                  AXParameterizedAttribute::stringForRange, AXValue("0-5"))),
              AXError::illegalArgument);
}

TEST_F(AXTextTest, AttributedRangesKeepTheirRuns) {
    auto read = text->handle().parameterizedAttribute(
        AXParameterizedAttribute::attributedStringForRange, AXRange{5, 4});
    ASSERT_TRUE(read);
    const AXAttributedString* styled = read->asAttributedString();
    ASSERT_NE(styled, nullptr);
    EXPECT_EQ(styled->string(), ", 世界");
    const auto runs = styled->runs();
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(styled->runText(0), ", ");
    EXPECT_EQ(runs[0].attributes.at("NSFont").asFont()->familyName, "Helvetica");
    EXPECT_EQ(styled->runText(1), "世界");
    EXPECT_EQ(runs[1].attributes.at("AXForegroundColor").asColor()->red, 1.0);

    auto bounds = text->handle().parameterizedAttribute(AXParameterizedAttribute::boundsForRange,
                                                        AXRange{0, 5});
    ASSERT_TRUE(bounds);
    EXPECT_TRUE(text->axFrame().contains(*bounds->asRect()));
}

TEST_F(AXTextTest, SystemWideFocusReachesTheFrontmostApplicationsField) {
    auto focused = AXElement::systemWide().attribute(AXAttribute::focusedUIElement);
    ASSERT_TRUE(focused);
    EXPECT_EQ(*focused->asElement(), text->handle());
    EXPECT_EQ(*AXElement::application(window->processIdentifier())
                   .attribute(AXAttribute::focusedUIElement)
                   ->asElement(),
              text->handle());
}

TEST_F(AXTextTest, SecureFieldsKeepTheirTextToThemselves) {
    auto password = window->addElement({.role = "AXTextField",
                                        .subrole = "AXSecureTextField",
                                        .frame = {20, 60, 200, 24},
                                        .value = "hunter2",
                                        .selectedRange = AXRange{0, 7},
                                        .editable = true});
    const AXElement element = password->handle();
    EXPECT_EQ(*element.attribute(AXAttribute::subrole)->asString(), "AXSecureTextField");
    EXPECT_EQ(platform::axErrorOf(element.attribute(AXAttribute::value)), AXError::noValue);
    EXPECT_EQ(*element.attribute(AXAttribute::selectedText)->asString(), "");
    EXPECT_EQ(platform::axErrorOf(element.parameterizedAttribute(
                  AXParameterizedAttribute::stringForRange, AXRange{0, 3})),
              AXError::noValue);

    // Command-C in it copies nothing.
    const int before = desktop.pasteboard().changeCount();
    password->focus();
    ASSERT_TRUE(keyboard.pressInProcess(window->processIdentifier(), 'c',
                                        {platform::ModifierFlags::command}));
    EXPECT_EQ(desktop.pasteboard().changeCount(), before);
}

TEST_F(AXTextTest, WebTextAnswersThroughMarkersAlsoToItsAncestors) {
    auto area = window->addElement({.role = "AXWebArea", .frame = {0, 40, 800, 560}});
    auto paragraph = area->addElement({.role = "AXStaticText",
                                       .frame = {10, 50, 600, 20},
                                       .value = "Read me",
                                       .selectedRange = AXRange{5, 2},
                                       .usesTextMarkers = true});
    EXPECT_EQ(platform::axErrorOf(paragraph->handle().attribute(AXAttribute::selectedText)),
              AXError::attributeUnsupported);
    auto markers = paragraph->handle().attribute(AXAttribute::selectedTextMarkerRange);
    ASSERT_TRUE(markers);
    for (const AXElement& asked : {paragraph->handle(), area->handle()}) {
        auto read = asked.parameterizedAttribute(AXParameterizedAttribute::stringForTextMarkerRange,
                                                 *markers);
        ASSERT_TRUE(read);
        EXPECT_EQ(*read->asString(), "me");
    }
    // Markers of one element mean nothing to an unrelated one.
    EXPECT_FALSE(text->handle().parameterizedAttribute(
        AXParameterizedAttribute::stringForTextMarkerRange, *markers));
}

TEST_F(AXTextTest, EditingCommandsPostedToTheProcessUseThePasteboard) {
    const pid_t pid = window->processIdentifier();
    const platform::ModifierFlags command{platform::ModifierFlags::command};

    ASSERT_TRUE(keyboard.pressInProcess(pid, 'c', command));
    EXPECT_EQ(desktop.pasteboard().string(), "世界");

    ASSERT_TRUE(keyboard.pressInProcess(pid, 'x', command));
    EXPECT_EQ(*text->value(), "Hello,  🌍!");

    text->setSelectedRange({0, 5});
    ASSERT_TRUE(keyboard.pressInProcess(pid, 'v', command));
    EXPECT_EQ(*text->value(), "世界,  🌍!");
    EXPECT_EQ(text->selectedRange(), (AXRange{2, 0})) << "the caret after the pasted text";

    ASSERT_TRUE(keyboard.pressInProcess(pid, 'a', command));
    EXPECT_EQ(text->selectedText(), "世界,  🌍!");

    // Caps Lock changes the chord: it is no longer Command-C alone.
    desktop.pasteboard().clearContents();
    ASSERT_TRUE(
        keyboard.pressInProcess(pid, 'c', {command.rawValue | platform::ModifierFlags::capsLock}));
    EXPECT_FALSE(desktop.pasteboard().string());

    EXPECT_FALSE(keyboard.pressInProcess(99999, 'c', command)) << "no such process";
}

TEST_F(AXTextTest, TypedKeysGoToTheFrontmostApplicationsFocusedField) {
    text->setSelectedRange({13, 0});
    keyboard.type("Hi");
    keyboard.press(platform::KeyCode::deleteKey);
    EXPECT_EQ(*text->value(), "Hello, 世界 🌍!H");
    for (int i = 0; i < 3; ++i) keyboard.press(platform::KeyCode::deleteKey);
    EXPECT_EQ(*text->value(), "Hello, 世界 ") << "the globe goes as one character";
    EXPECT_LT(desktop.input().secondsSinceLastEvent(platform::EventType::keyDown), 0.001);
}

}  // namespace
}  // namespace tallowmere::testing
