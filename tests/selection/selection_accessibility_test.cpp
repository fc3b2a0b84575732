#include "selection/selection_accessibility.h"

#include <gtest/gtest.h>

#include "support/desktop/desktop_fixture.h"
#include "windows/screen_geometry.h"

namespace tallowmere {
namespace {

using platform::AXRange;

// An editor in front with a styled text area, a password field and a label.
class SelectionAccessibilityTest : public testing::SimulatedDesktopTest {
protected:
    void SetUp() override {
        setup.grantAccessibility();
        window = setup.addFrontWindow({.bundleIdentifier = "com.example.editor", .name = "Editor"},
                                      {.title = "Notes", .frame = {100, 100, 800, 600}});
        const platform::AXFont bold{.fontName = "Helvetica-Bold", .familyName = "Helvetica", .pointSize = 14, .isBold = true};
        text = window->addElement({.role = platform::AXRole::textArea,
                                   .frame = {0, 40, 800, 300},
                                   .value = "Hello world",
                                   .selectedRange = AXRange{0, 5},
                                   .styleRuns = {{5, {{"AXForegroundColor", platform::AXColor{1, 0, 0, 1}}, {"NSFont", bold}}},
                                                 {6, {}}}});
        password = window->addElement(
            {.role = platform::AXRole::secureTextField, .frame = {20, 360, 200, 24}, .value = "hunter2", .selectedRange = AXRange{0, 7}});
        label = window->addElement({.role = platform::AXRole::staticText, .frame = {20, 420, 200, 24}});
    }
    // A point inside an element, given in the window's own coordinates.
    platform::ScreenPoint at(double x, double y) {
        return ScreenGeometry::toScreen(platform::AXPoint{window->frame().minX() + x, window->frame().minY() + y});
    }

    std::shared_ptr<platform::SimulatedWindow> window;
    std::shared_ptr<platform::SimulatedElement> text, password, label;
};

TEST_F(SelectionAccessibilityTest, ReadsTheSelectionUnderThePointerOrTheFocusedOne) {
    EXPECT_EQ(Accessibility::selectedText(at(100, 100)), "Hello");
    EXPECT_FALSE(Accessibility::isSecureInput(at(100, 100)));
    const auto style = Accessibility::selectedTextStyle(at(100, 100));
    ASSERT_TRUE(style);
    EXPECT_EQ(*style, (Accessibility::TextStyle{"Helvetica-Bold", "Helvetica", 14, true}));

    text->focus();
    EXPECT_EQ(Accessibility::selectedText(at(50, 430)), "Hello") << "over a label: the focused text";

    text->setSelectedRange({5, 0});
    EXPECT_EQ(Accessibility::selectedText(at(100, 100)), std::nullopt) << "a caret is no selection";
    EXPECT_EQ(Accessibility::selectedTextStyle(at(100, 100)), std::nullopt);
}

TEST_F(SelectionAccessibilityTest, APasswordFieldIsSecureAndGivesNoText) {
    EXPECT_TRUE(Accessibility::isSecureInput(at(50, 370)));
    password->focus();
    EXPECT_TRUE(Accessibility::isSecureInput(at(50, 430))) << "the focus is in the password field";
    setup.grantAccessibility(false);
    EXPECT_FALSE(Accessibility::isSecureInput(at(50, 370))) << "nothing can be read without trust";
    EXPECT_EQ(Accessibility::selectedText(at(100, 100)), std::nullopt);
}

}  // namespace
}  // namespace tallowmere
