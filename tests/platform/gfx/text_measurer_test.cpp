#include "platform/gfx/text_measurer.h"

#include <gtest/gtest.h>

#include "platform/gfx/caching_text_measurer.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/deterministic_text_measurer.h"
#include "platform/gfx/image.h"
#include "platform/gfx/pango_text_measurer.h"
#include "support/fixture.h"

namespace tallowmere::platform {
namespace {

using TextMeasurerTest = testing::TallowmereTest;

TEST_F(TextMeasurerTest, DeterministicMetricsCountGraphemesAndWideCharacters) {
    const Font font = Font::systemFont(10);
    struct Case {
        const char* text;
        Size expected;
    } cases[] = {
        {"", {0, 12}},
        {"abc", {15, 12}},
        {"塔洛梅", {30, 12}},
        {"a塔", {15, 12}},
        {"e\u0301", {5, 12}},                    // a combining accent belongs to its letter
        {"\U0001F44D\U0001F3FD", {10, 12}},      // emoji with skin tone: one wide grapheme
        {"\u2764\uFE0F", {10, 12}},              // text-default heart made emoji
        {"\U0001F1E8\U0001F1F3", {10, 12}},      // a flag is one grapheme
        {"ab\ncdef", {20, 24}},
        {"a\n", {5, 24}},
        {"a\r\nb", {5, 24}},                     // CR LF is one line break
    };
    const auto& measurer = TextMeasurer::shared();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(measurer.measure(c.text, font), c.expected);
    }
}

TEST_F(TextMeasurerTest, LinesTakeTheHeightOfTheirLargestFontAndRunsTheirOwnWidths) {
    AttributedString text("ab", {.font = Font::systemFont(10)});
    text.append("CD", {.font = Font::systemFont(20, FontWeight::bold), .kern = 1});
    EXPECT_EQ(TextMeasurer::shared().measure(text), (Size{10 + 2 * 11, 24}));
    EXPECT_EQ(TextMeasurer::shared().lineMetrics(Font::systemFont(20)), (LineMetrics{19, 5, 0}));
}

TEST_F(TextMeasurerTest, WrappingBreaksAtSpacesThenInsideLongWords) {
    const Font font = Font::systemFont(10);  // 5 points a narrow grapheme
    struct Case {
        const char* text;
        double width;
        Size expected;
    } cases[] = {
        {"aaa bbb", 100, {35, 12}},
        {"aaa bbb", 20, {15, 24}},         // trailing space of the first line does not count
        {"aaa bbb", 35, {35, 12}},         // fits exactly
        {"aaaaaaaa", 20, {20, 24}},        // no space: broken between graphemes
        {"塔洛梅百宝箱", 25, {20, 36}},   // CJK breaks between characters
        {"a  ", 5, {5, 12}},               // spaces hang past the edge
        {"aaa bbb", 0, {5, 72}},           // zero width: a grapheme a line, the space hangs
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.text << " in " << c.width);
        EXPECT_EQ(TextMeasurer::shared().measure(c.text, font, c.width), c.expected);
    }
}

TEST_F(TextMeasurerTest, DeterministicContextsUseTheDeterministicMeasurer) {
    EXPECT_NE(dynamic_cast<DeterministicTextMeasurer*>(&TextMeasurer::shared()), nullptr);
}

TEST_F(TextMeasurerTest, PangoMeasuresRealGlyphs) {
    // Only relations here: the machine's fonts decide the numbers.
    PangoTextMeasurer pango;
    const Font font = Font::systemFont(13);
    const Size one = pango.measure("Hello", font);
    const Size two = pango.measure("Hello Hello", font);
    EXPECT_GT(one.width, 10);
    EXPECT_GT(two.width, one.width * 1.8);
    EXPECT_NEAR(one.height, two.height, 0.01);
    EXPECT_GT(pango.measure("Hello\nHello", font).height, one.height * 1.8);
    EXPECT_LT(pango.measure("Hello Hello", font, one.width + 5).width, two.width);
    EXPECT_GT(pango.measure("Hello", Font::systemFont(26)).width, one.width * 1.6);
    const LineMetrics metrics = pango.lineMetrics(font);
    EXPECT_GT(metrics.ascent, 5);
    EXPECT_GT(metrics.descent, 0);
}

TEST_F(TextMeasurerTest, ShownLinesAreAsTallAsTheFacesThatDrawThem) {
    PangoTextMeasurer pango;
    const Font font = Font::systemFont(14);
    const AttributedString text("召唤到屏幕上\n它会随机移动\n鼠标靠近时躲开", {.font = font});
    const Size all = pango.measure(text);
    const Size two = pango.measureLines(text, std::nullopt, 2);
    EXPECT_NEAR(two.height, all.height * 2 / 3, 0.01);
    EXPECT_GT(two.height, 2 * pango.lineMetrics(font).lineHeight()) << "Chinese lines are the fallback face's";
    EXPECT_EQ(pango.measureLines(text, std::nullopt, 3), all);
    EXPECT_EQ(pango.measureLines(text, std::nullopt, 0), all);
    EXPECT_EQ(pango.measureLines(AttributedString("召唤", {.font = font}), 20.5, 1).height,
              pango.measure("召", font).height)
        << "wrapped lines count too";

    // The cache keeps the answers for different line counts apart.
    CachingTextMeasurer caching(std::make_shared<PangoTextMeasurer>());
    EXPECT_EQ(caching.measureLines(text, std::nullopt, 2), two);
    EXPECT_EQ(caching.measure(text), all);
    EXPECT_EQ(caching.measureLines(text, std::nullopt, 1).height, pango.measureLines(text, std::nullopt, 1).height);
}

TEST_F(TextMeasurerTest, AnAttachedPictureTakesItsBoxInTheLine) {
    const Font font = Font::systemFont(10);
    const Image picture = Image::withHandler({15, 15}, [](Canvas&, Rect) { return true; });
    AttributedString text = AttributedString::attachment(picture, {0, -3, 15, 15}, {.font = font});
    text.append("ab", {.font = font});
    // 15 wide; 12 above the baseline, 3 below it, against the font's 10 and 2.
    EXPECT_EQ(TextMeasurer::shared().measure(text), (Size{15 + 10, 12 + 3}));

    PangoTextMeasurer pango;
    const AttributedString plain("ab", {.font = font});
    EXPECT_NEAR(pango.measure(text).width, pango.measure(plain).width + 15, 0.5);
    EXPECT_GE(pango.measure(text).height, pango.measure(plain).height);
}

}  // namespace
}  // namespace tallowmere::platform
