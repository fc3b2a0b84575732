#include "platform/ui/text_field.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gfx/pango_text_measurer.h"
#include "platform/gfx/recording_canvas.h"
#include "platform/ui/control_drawing.h"
#include "platform/ui/label.h"
#include "platform/ui/secure_text_field.h"
#include "support/fixture.h"
#include "view_driver.h"

namespace tallowmere::platform {
namespace {

class TextFieldTest : public testing::TallowmereTest {
protected:
    std::shared_ptr<View> root = View::make({0, 0, 300, 100});
    testing::ViewDriver driver{root};
    std::vector<std::string> events;

    std::shared_ptr<TextField> addField(std::shared_ptr<TextField> field) {
        field->setFrame({10, 10, 200, 22});
        field->onTextDidBeginEditing = [this](TextField& f) { events.push_back("begin " + f.stringValue()); };
        field->onTextDidChange = [this](TextField& f) { events.push_back("change " + f.stringValue()); };
        field->onTextDidEndEditing = [this](TextField& f) { events.push_back("end " + f.stringValue()); };
        root->addSubview(field);
        return field;
    }
};

TEST_F(TextFieldTest, TypingIntoAFocusedFieldChangesItsValueAndNotifies) {
    auto field = addField(TextField::make("old"));
    driver.click(*field);
    ASSERT_TRUE(field->isEditing());
    EXPECT_EQ(field->selectedRange(), (TextRange{0, 3})) << "focusing selects everything";

    driver.type("hi");
    EXPECT_EQ(field->stringValue(), "hi");
    EXPECT_EQ(events, (std::vector<std::string>{"begin h", "change h", "change hi"}));

    events.clear();
    driver.key(KeyCode::deleteKey);
    EXPECT_EQ(field->stringValue(), "h");
    field->makeFirstResponder();
    driver.router().makeFirstResponder(nullptr);
    EXPECT_EQ(events, (std::vector<std::string>{"change h", "end h"}));
    EXPECT_FALSE(field->isEditing());
}

TEST_F(TextFieldTest, EditingKeysWorkOnWholeCharacters) {
    struct Case {
        const char* what;
        std::string start;
        std::vector<std::uint16_t> keys;  // typed after focusing, which selects all
        std::string typed;                // then typed
        std::string expected;
    } cases[] = {
        {"delete removes a whole emoji", "a👍🏽", {124, KeyCode::deleteKey}, "", "a"},
        {"forward delete at the start", "ab", {123, 123, KeyCode::forwardDelete}, "", "b"},
        {"typing replaces the selection", "abc", {}, "中文", "中文"},
        {"arrows move between characters", "ab", {124, 123}, "x", "axb"},
        {"control characters are not text", "", {}, "\x01", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto field = addField(TextField::make(c.start));
        driver.click(*field);
        for (auto key : c.keys) driver.key(key);
        if (!c.typed.empty()) driver.type(c.typed);
        EXPECT_EQ(field->stringValue(), c.expected);
        field->removeFromSuperview();
    }
}

TEST_F(TextFieldTest, ReturnEndsEditingAndRunsTheAction) {
    auto field = addField(TextField::make());
    int actions = 0;
    field->onAction = [&](Control&) { ++actions; };
    driver.click(*field);
    driver.type("ok");
    events.clear();
    EXPECT_TRUE(driver.key(KeyCode::returnKey, "\r"));
    EXPECT_EQ(actions, 1);
    EXPECT_EQ(events, std::vector<std::string>{"end ok"});
    EXPECT_EQ(field->selectedRange(), (TextRange{0, 2})) << "it keeps the keys with its text selected";

    field->setEditable(false);
    driver.type("z");
    EXPECT_EQ(field->stringValue(), "ok");
}

TEST_F(TextFieldTest, SecureFieldsShowBulletsAndLabelsLetClicksThrough) {
    auto secret = addField(SecureTextField::make("pa👍"));
    RecordingCanvas canvas({300, 100});
    secret->display(canvas);
    EXPECT_EQ(canvas.drawnTexts(), std::vector<std::string>{"•••"});
    EXPECT_EQ(secret->stringValue(), "pa👍");

    auto label = Label::make("Title");
    label->setFrame({10, 50, 100, 20});
    root->addSubview(label);
    driver.click(*label);
    EXPECT_NE(driver.router().firstResponder(), label) << "a label does not take the keys";
    EXPECT_EQ(label->accessibilityRole(), "AXStaticText");
}

TEST_F(TextFieldTest, WrappingLabelsGrowTallerAsTheyGetNarrower) {
    auto label = Label::makeWrapping("one two three four five six");
    const Size natural = label->intrinsicContentSize();
    EXPECT_GT(label->fittingHeightForWidth(natural.width / 2), natural.height);
    label->setMaximumNumberOfLines(2);
    EXPECT_LE(label->fittingHeightForWidth(20), label->fittingHeightForWidth(natural.width / 2) + 1e-9);
}

// Chinese in the system face is drawn in the Chinese fallback face, whose
// lines are taller than the system face's own: a label of at most two lines
// must still be as tall as the two lines it draws, or the second is clipped.
TEST_F(TextFieldTest, ALabelOfAtMostTwoLinesHoldsTwoChineseLines) {
    context().setShared<TextMeasurer>(std::make_shared<PangoTextMeasurer>());
    const Font font = Font::systemFont(14);
    const double twoLines = ControlDrawing::measure(AttributedString("召唤\n躲开", {.font = font})).height;
    ASSERT_GT(twoLines, 2 * ControlDrawing::lineHeight(font) + 1) << "the fallback face's lines are taller";
    struct Case {
        const char* text;
        double width;
    } cases[] = {
        {"选择一个伙伴召唤到屏幕上\n它会随机移动和停留\n鼠标靠近时会立即躲开", 1000},
        // Eleven Han characters to a line (each one em wide): three lines.
        {"选择一个伙伴召唤到屏幕上它会随机移动和停留鼠标靠近时会立即躲开", 11 * 14 + 0.5 + 2 * 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        auto label = Label::makeWrapping(c.text);
        label->setFont(font);
        label->setMaximumNumberOfLines(2);
        EXPECT_NEAR(label->fittingHeightForWidth(c.width), twoLines, 0.01);
        label->setMaximumNumberOfLines(0);
        EXPECT_NEAR(label->fittingHeightForWidth(c.width), twoLines * 1.5, 0.01);
    }
}

// Heights taken from the one unwrapped measurement must be what wrapping
// the text to the width would give.
TEST_F(TextFieldTest, WrappingHeightsMatchTheTextWrappedToTheWidth) {
    struct Case {
        const char* text;
        std::optional<double> preferredMaxLayoutWidth;
        int maximumLines;
    } cases[] = {
        {"one two three four five six", std::nullopt, 0},
        {"first line\nsecond line\nthird", std::nullopt, 0},
        {"first line\nsecond line\nthird", std::nullopt, 2},
        {"one two three four five six", 60, 0},
        {"one two three four five six", 60, 2},
        {"", std::nullopt, 0},
    };
    for (bool realFonts : {false, true}) {
        if (realFonts) context().setShared<TextMeasurer>(std::make_shared<PangoTextMeasurer>());
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.text) + (realFonts ? " with real fonts" : ""));
            auto label = Label::makeWrapping(c.text);
            label->setPreferredMaxLayoutWidth(c.preferredMaxLayoutWidth);
            label->setMaximumNumberOfLines(c.maximumLines);
            const Size intrinsic = label->intrinsicContentSize();
            const double inset = 2;  // a label's text inset, each side
            if (c.preferredMaxLayoutWidth) {
                EXPECT_DOUBLE_EQ(intrinsic.width, *c.preferredMaxLayoutWidth);
            }
            const double lineHeight = ControlDrawing::lineHeight(label->font());
            for (double width : {intrinsic.width, intrinsic.width + 40, intrinsic.width / 2}) {
                SCOPED_TRACE(width);
                TextAttributes attributes;
                attributes.font = label->font();
                double expected =
                    std::string(c.text).empty()
                        ? lineHeight
                        : ControlDrawing::measure(AttributedString(c.text, attributes),
                                                  std::max(1.0, width - 2 * inset))
                              .height;
                if (c.maximumLines > 0) expected = std::min(expected, c.maximumLines * lineHeight);
                EXPECT_DOUBLE_EQ(label->fittingHeightForWidth(width), expected);
            }
            EXPECT_DOUBLE_EQ(label->fittingHeightForWidth(intrinsic.width), intrinsic.height);
        }
    }
}

}  // namespace
}  // namespace tallowmere::platform
