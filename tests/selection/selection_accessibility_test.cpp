#include "selection/selection_accessibility.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "localization/interface_language.h"
#include "support/desktop/desktop_fixture.h"
#include "windows/screen_geometry.h"

namespace tallowmere {
namespace {

using platform::AXAttributedString;
using platform::AXColor;
using platform::AXFont;
using platform::AXRange;
using platform::AXValue;
using platform::ElementSpec;
using Strings = std::vector<std::string>;

std::vector<std::string> hexes(const Accessibility::TextStyle& style) {
    std::vector<std::string> result;
    for (const auto& color : style.colors) result.push_back(color.hex);
    return result;
}

// An editor in front; each test puts the controls it needs into its window.
class SelectionAccessibilityTest : public testing::SimulatedDesktopTest {
protected:
    void SetUp() override {
        InterfaceLanguage::setCurrent(InterfaceLanguage::simplifiedChinese);
        setup.grantAccessibility();
        window = setup.addFrontWindow({.bundleIdentifier = "com.example.editor", .name = "Editor"},
                                      {.title = "Notes", .frame = {100, 100, 800, 600}});
    }
    // A point inside the window, given in the window's own coordinates.
    platform::ScreenPoint at(double x, double y) {
        return ScreenGeometry::toScreen(platform::AXPoint{window->frame().minX() + x, window->frame().minY() + y});
    }
    // The point over a control added at the top of the window.
    platform::ScreenPoint top() { return at(100, 100); }

    std::shared_ptr<platform::SimulatedWindow> window;
};

const AXFont helveticaBold{.fontName = "Helvetica-Bold", .familyName = "Helvetica", .displayName = "Helvetica Bold",
                           .pointSize = 14, .weightTrait = 0.4};

TEST_F(SelectionAccessibilityTest, EachKindOfTextElementGivesItsSelection) {
    struct Case {
        const char* name;
        ElementSpec spec;
        std::optional<std::string> text;
        std::optional<std::string> fontNames;  // none: no style expected
    };
    const AXValue::Dictionary red{{"NSColor", AXColor{1, 0, 0, 1}}, {"NSFont", helveticaBold}};
    Case cases[] = {
        {"text field, trimmed",
         {.role = platform::AXRole::textField, .value = "  Hello world", .selectedRange = AXRange{0, 7},
          .styleRuns = {{7, red}, {6, {}}}},
         "Hello", "Helvetica Bold"},
        {"web area answering only marker ranges",
         {.role = platform::AXRole::webArea, .value = "alpha beta", .selectedRange = AXRange{6, 4},
          .usesTextMarkers = true, .styleRuns = {{10, red}}},
         "beta", "Helvetica Bold"},
        {"only spaces and line breaks",
         {.role = platform::AXRole::textArea, .value = "a \n  b", .selectedRange = AXRange{1, 4}}, std::nullopt,
         "无法获取"},
        {"value cut when the range query is not answered",
         {.role = platform::AXRole::textField,
          .attributes = {{"AXValue", "Hello world"}, {"AXSelectedTextRange", AXRange{6, 5}}}},
         "world", std::nullopt},
        {"value shorter than the range",
         {.role = platform::AXRole::textField, .attributes = {{"AXValue", "Hi"}, {"AXSelectedTextRange", AXRange{0, 10}}}},
         std::nullopt, std::nullopt},
        {"a cut that would split a character",
         {.role = platform::AXRole::textField,
          .attributes = {{"AXValue", "\xF0\x9F\x98\x80" "ab"}, {"AXSelectedTextRange", AXRange{1, 2}}}},
         std::nullopt, std::nullopt},
        {"a caret is no selection",
         {.role = platform::AXRole::textField, .value = "Hello", .selectedRange = AXRange{2, 0}}, std::nullopt,
         std::nullopt},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.spec.frame = {0, 40, 800, 300};
        auto element = window->addElement(c.spec);
        EXPECT_EQ(Accessibility::selectedText(top()), c.text);
        const auto style = Accessibility::selectedTextStyle(top());
        EXPECT_EQ(style.has_value(), c.fontNames.has_value());
        if (style && c.fontNames) {
            EXPECT_EQ(style->fontNameDescription, *c.fontNames);
        }
        if (style && c.fontNames == "Helvetica Bold") {
            EXPECT_EQ(style->fontSizeDescriptions, Strings{"14 pt"});
            EXPECT_EQ(style->fontWeightDescriptions, Strings{"粗（700）"});
            EXPECT_EQ(hexes(*style), Strings{"#FF0000"});
        }
        element->removeFromParent();
    }
}

TEST_F(SelectionAccessibilityTest, TheSelectionIsFoundUpTheParentChain) {
    auto field = window->addElement({.role = platform::AXRole::textArea, .frame = {0, 40, 800, 300}, .value = "Hello world",
                                     .selectedRange = AXRange{6, 5}, .styleRuns = {{11, {{"NSFont", helveticaBold}}}}});
    field->addElement({.role = platform::AXRole::staticText, .frame = {0, 40, 800, 300}});
    EXPECT_EQ(Accessibility::selectedText(top()), "world");
    const auto style = Accessibility::selectedTextStyle(top());
    ASSERT_TRUE(style);
    EXPECT_EQ(style->fontNameDescription, "Helvetica Bold");
}

TEST_F(SelectionAccessibilityTest, ASecureFieldAmongTheCandidatesHidesEverySelection) {
    window->addElement({.role = platform::AXRole::textArea, .frame = {0, 40, 800, 300}, .value = "Hello world",
                        .selectedRange = AXRange{0, 5}, .styleRuns = {{11, {{"NSFont", helveticaBold}}}}});
    auto password = window->addElement({.role = platform::AXRole::secureTextField, .frame = {20, 360, 200, 24},
                                        .value = "hunter2", .selectedRange = AXRange{0, 7}});
    ASSERT_EQ(Accessibility::selectedText(top()), "Hello");
    EXPECT_FALSE(Accessibility::isSecureInput(top()));

    password->focus();
    EXPECT_TRUE(Accessibility::isSecureInput(top())) << "the focus is in the password field";
    EXPECT_EQ(Accessibility::selectedText(top()), std::nullopt);
    EXPECT_EQ(Accessibility::selectedTextStyle(top()), std::nullopt);

    setup.grantAccessibility(false);
    EXPECT_FALSE(Accessibility::isSecureInput(at(50, 370))) << "nothing can be read without trust";
}

TEST_F(SelectionAccessibilityTest, AnElementAnsweringOnlyRtfGivesItsStyle) {
    const AXFont menlo{.fontName = "Menlo-Regular", .familyName = "Menlo", .pointSize = 12.5};
    auto field = window->addElement(
        {.role = platform::AXRole::textArea, .frame = {0, 40, 800, 300}, .value = "caf\u00e9 \U0001F600 bold",
         .selectedRange = AXRange{0, 12},
         .styleRuns = {{7, {{"NSFont", menlo}, {"NSColor", AXColor{1, 0, 1, 1}}}}, {5, {{"NSFont", helveticaBold}}}}});
    field->failAttribute(platform::AXParameterizedAttribute::attributedStringForRange,
                         platform::AXError::parameterizedAttributeUnsupported);
    const auto style = Accessibility::selectedTextStyle(top());
    ASSERT_TRUE(style) << "the RTF of the range is read when no attributed string is offered";
    EXPECT_EQ(style->fontNameDescription, "Helvetica-Bold、Menlo-Regular");
    EXPECT_EQ(style->fontSizeDescriptions, (Strings{"12.5 pt", "14 pt"}));
    EXPECT_EQ(style->fontWeightDescriptions, (Strings{"正常（400）", "粗（700）"}));
    EXPECT_EQ(hexes(*style), Strings{"#FF00FF"});

    field->failAttribute(platform::AXParameterizedAttribute::rtfForRange, platform::AXError::parameterizedAttributeUnsupported);
    EXPECT_EQ(Accessibility::selectedTextStyle(top()), std::nullopt);
}

AXAttributedString runs(std::string text, std::vector<AXAttributedString::Run> runs) {
    return AXAttributedString(std::move(text), std::move(runs));
}
AXValue::Dictionary sized(double size, AXColor color = {0, 0, 0, 1}) {
    return {{"NSFont", AXFont{.fontName = "Helvetica", .familyName = "Helvetica", .pointSize = size}}, {"NSColor", color}};
}

TEST_F(SelectionAccessibilityTest, SummaryOfStyledRuns) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* name;
        AXAttributedString text;
        std::string names;
        Strings sizes, weights, colors;
    };
    const Case cases[] = {
        {"12.0 and 12.04 are one size; 12.5 keeps its decimal",
         runs("abc", {{1, sized(12.0)}, {1, sized(12.04)}, {1, sized(12.5)}}), "Helvetica", {"12 pt", "12.5 pt"},
         {"正常（400）"}, {"#000000"}},
        {"alpha below full gives eight digits, sorted by hex",
         runs("ab", {{1, sized(12, {1, 0, 0, 254.0 / 255})}, {1, sized(12, {0, 0, 1, 1})}}), "Helvetica", {"12 pt"},
         {"正常（400）"}, {"#0000FF", "#FF0000FE"}},
        {"an extended-range red is clamped", runs("a", {{1, sized(12, {1.2, -0.1, 0, 1})}}), "Helvetica", {"12 pt"},
         {"正常（400）"}, {"#FF0000"}},
        {"a pattern colour gives no colour", runs("a", {{1, sized(12, {0, 0, 0, 1, platform::AXColorKind::pattern})}}),
         "Helvetica", {"12 pt"}, {"正常（400）"}, {}},
        {"whitespace runs add nothing",
         runs("a \n", {{1, sized(12)}, {2, {{"NSFont", helveticaBold}, {"NSColor", AXColor{1, 0, 0, 1}}}}}), "Helvetica",
         {"12 pt"}, {"正常（400）"}, {"#000000"}},
        {"all whitespace", runs("  ", {{2, sized(12)}}), "无法获取", {}, {}, {}},
        {"Accessibility font dictionaries: visible name, numeric weight, absurd sizes skipped",
         runs("abcd", {{1, {{"AXFont", AXValue::Dictionary{{"AXVisibleName", "Menlo Regular"}, {"AXFontFamily", "Menlo"},
                                                             {"AXFontSize", 11.0}, {"AXFontWeight", 9.0}}}}},
                       {1, {{"AXFont", AXValue::Dictionary{{"AXFontFamily", "Menlo"}, {"AXFontSize", nan}}}}},
                       {1, {{"AXFont", AXValue::Dictionary{{"AXFontName", 3.0}, {"AXFontSize", 1e300}}}}},
                       {1, {{"AXForegroundColor", AXColor{0, 1, 0, 1}}}}}),
         "Menlo、Menlo Regular", {"11 pt"}, {"粗（700）"}, {"#00FF00"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto style = Accessibility::textStyle(c.text);
        EXPECT_EQ(style.fontNameDescription, c.names);
        EXPECT_EQ(style.fontSizeDescriptions, c.sizes);
        EXPECT_EQ(style.fontWeightDescriptions, c.weights);
        EXPECT_EQ(hexes(style), c.colors);
    }
}

TEST(SelectionAccessibilityWeights, NumbersFromEveryScale) {
    struct Case {
        double value;
        int weight;
    } cases[] = {
        {0.0, 400},  {5, 400},   {9, 700},   {650, 650},  {2000, 1000}, {std::nan(""), 400},
        {-0.8, 100}, {0.3, 600}, {0.6, 900}, {1.4, 100},  {2, 200},     {13, 900},
        {99.6, 900}, {100, 100}, {412.6, 413}, {-std::numeric_limits<double>::infinity(), 400},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(Accessibility::cssFontWeight(c.value), c.weight);
    }
    EXPECT_EQ(Accessibility::cssFontWeight(AXFont{.isBold = true}), 700) << "no trait: the bold bit";
    EXPECT_EQ(Accessibility::cssFontWeight(AXFont{.weightTrait = 0.23, .isBold = true}), 500) << "the trait wins";
}

TEST_F(SelectionAccessibilityTest, SummaryOfPageStyles) {
    using Style = ChromeSelectionStyleReader::Style;
    EXPECT_EQ(Accessibility::chromeTextStyle({}), std::nullopt);
    EXPECT_EQ(Accessibility::chromeTextStyle({Style{"", "", "lighter", {0, 0, 0}}, Style{"", "", "0", {256, 0, 0, 255}}}),
              std::nullopt)
        << "nothing valid in any style";

    const auto style = Accessibility::chromeTextStyle({
        Style{"Georgia, serif", "16px", "bold", {255, 0, 0, 255}},
        Style{"Arial", "9px", "normal", {0, 0, 0, 128}},
        Style{"Georgia, serif", "12.5px", "450.5", {255, 0, 0, 255}},
        Style{"", "large", "1001", {}},
    });
    ASSERT_TRUE(style);
    EXPECT_EQ(style->fontNameDescription, "Arial，Georgia, serif");
    EXPECT_EQ(style->fontSizeDescriptions, (Strings{"large", "9px", "12.5px", "16px"}));
    EXPECT_EQ(style->fontWeightDescriptions, (Strings{"正常（400）", "正常（450.5）", "粗（700）"}));
    EXPECT_EQ(hexes(*style), (Strings{"#00000080", "#FF0000"}));
    EXPECT_EQ(style->colors.front().color.alpha(), 128 / 255.0);
}

}  // namespace
}  // namespace tallowmere
