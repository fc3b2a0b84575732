#include "platform/gfx/attributed_string.h"

#include <gtest/gtest.h>

#include "support/fixture.h"

namespace tallowmere::platform {
namespace {

using AttributedStringTest = testing::TallowmereTest;

const Color blue = Color::system(SystemColor::blue);
const Color label = Color::system(SystemColor::label);

std::vector<std::string> runTexts(const AttributedString& text) {
    std::vector<std::string> texts;
    for (const auto& run : text.runs()) texts.emplace_back(text.textOf(run));
    return texts;
}

TEST_F(AttributedStringTest, AttributesOverARangeSplitAndMergeRuns) {
    AttributedString title("番茄钟 · 未启用", {.foregroundColor = label});
    const auto suffix = title.find(" · ");
    ASSERT_TRUE(suffix);
    title.setForegroundColor({suffix->location, title.length() - suffix->location}, blue);
    EXPECT_EQ(runTexts(title), (std::vector<std::string>{"番茄钟", " · 未启用"}));
    EXPECT_EQ(title.attributesAt(suffix->location).foregroundColor, blue);
    EXPECT_EQ(title.attributesAt(0).foregroundColor, label);

    title.setForegroundColor(title.wholeRange(), label);
    EXPECT_EQ(title.runs().size(), 1u) << "equal neighbours merge";
}

TEST_F(AttributedStringTest, RangesPastTheEndAreCutOrIgnored) {
    AttributedString text("abc");
    text.setUnderline({1, 100}, UnderlineStyle::single);
    EXPECT_EQ(runTexts(text), (std::vector<std::string>{"a", "bc"}));
    text.setUnderline({4, 1}, UnderlineStyle::double_);
    text.setUnderline({3, 0}, UnderlineStyle::double_);
    EXPECT_EQ(runTexts(text), (std::vector<std::string>{"a", "bc"}));
    EXPECT_EQ(text.attributesAt(99).underline, UnderlineStyle::single);
}

TEST_F(AttributedStringTest, ReplacingKeepsTheAttributesAroundIt) {
    struct Case {
        const char* before;
        const char* after;
    } cases[] = {
        {"Custom…", "Custom"}, {"Custom...", "Custom"}, {"自定义…", "自定义"}, {"...", ""}, {"a...b...c", "abc"},
        {"no dots", "no dots"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before);
        AttributedString text(c.before, {.foregroundColor = blue});
        text.replaceOccurrences("…", "");
        text.replaceOccurrences("...", "");
        EXPECT_EQ(text.text(), c.after);
        EXPECT_EQ(text.attributesAt(0).foregroundColor, blue) << "even an emptied title keeps its look";
    }
    AttributedString mixed("a..", {.foregroundColor = label});
    mixed.append("b", {.foregroundColor = blue});
    mixed.replaceOccurrences("..", "--");
    EXPECT_EQ(runTexts(mixed), (std::vector<std::string>{"a--", "b"}));
    mixed.replaceOccurrences("", "x");
    EXPECT_EQ(mixed.text(), "a--b");
}

TEST_F(AttributedStringTest, FindLastFindsTheLastOccurrence) {
    const AttributedString text("05:05");
    EXPECT_EQ(text.findLast("05"), (TextRange{3, 2}));
    EXPECT_EQ(text.find("05"), (TextRange{0, 2}));
    EXPECT_EQ(text.findLast("06"), std::nullopt);
}

}  // namespace
}  // namespace tallowmere::platform
