#include "toys/emoji_list.h"

#include <gtest/gtest.h>

#include "toys/symbol_categories.h"

namespace tallowmere::testing {
namespace {

using Lines = std::vector<std::string>;

TEST(EmojiListTest, SplitsAtEveryNewlineKindAndKeepsLinesAsTheyAre) {
    struct Case {
        const char* name;
        std::string text;
        Lines entries;
    } cases[] = {
        {"line feeds", "😀\n😃\n", {"😀", "😃"}},
        {"no final newline", "😀\n😃", {"😀", "😃"}},
        {"blank lines dropped", "\n\n😀\n\n\n😃\n\n", {"😀", "😃"}},
        {"spaces kept", " 😀 \n  \n", {" 😀 ", "  "}},
        {"CR LF is one break", "😀\r\n😃\r\n", {"😀", "😃"}},
        {"lone CR, VT, FF", "a\rb\vc\fd", {"a", "b", "c", "d"}},
        {"NEL, LS, PS", "a\xC2\x85" "b\xE2\x80\xA8" "c\xE2\x80\xA9" "d", {"a", "b", "c", "d"}},
        {"CR CR LF", "a\r\r\nb", {"a", "b"}},
        {"empty", "", {}},
        {"not UTF-8", "😀\n\xFF\xFE\n😃", {}},
        {"cut in a character", "😀\n\xF0\x9F", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(parseEmojiList(c.text), c.entries);
    }
}

const std::string wave = "👋";
const std::string tones[] = {"👋🏻", "👋🏼", "👋🏽", "👋🏾", "👋🏿"};

TEST(EmojiListTest, GroupsSkinTonesUnderThePlainForm) {
    // Toned forms listed before the plain one: the plain one is still shown.
    const Lines emoji = {"😀", tones[0], tones[1], wave, tones[2], tones[3], tones[4], "😃"};
    const auto grouped = groupSkinTones(emoji);
    EXPECT_EQ(grouped.symbols, (Lines{"😀", wave, "😃"}));
    ASSERT_EQ(grouped.variants.size(), 1u);
    EXPECT_EQ(grouped.variants.at(wave), (Lines{tones[0], tones[1], wave, tones[2], tones[3], tones[4]}));
}

TEST(EmojiListTest, TonedOnlyEmojiShowTheFirstFormAndSingleFormsHaveNoVariants) {
    // Handshake with two tones: the key drops both modifiers.
    const std::string pairA = "🫱🏻\u200D🫲🏿", pairB = "🫱🏿\u200D🫲🏻";
    const Lines emoji = {tones[3], tones[1], "⌚", pairA, pairB};
    const auto grouped = groupSkinTones(emoji);
    EXPECT_EQ(grouped.symbols, (Lines{tones[3], "⌚", pairA}));
    EXPECT_EQ(grouped.variants.at(tones[3]), (Lines{tones[3], tones[1]}));
    EXPECT_EQ(grouped.variants.at(pairA), (Lines{pairA, pairB}));
    EXPECT_FALSE(grouped.variants.contains("⌚"));
}

TEST(EmojiListTest, OnlyTheFiveModifiersCountAsSkinTones) {
    struct Case {
        std::string text;
        bool toned;
    } cases[] = {
        {"👋🏻", true}, {"👋🏿", true}, {"👋", false},
        {"\xF0\x9F\x8F\xBA", false},  // U+1F3FA, just below the modifiers
        {"\xF0\x9F\x90\x80", false},  // U+1F400, just above
        {"\xF0\x9F\x8F", false},      // a prefix with nothing after it
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(containsSkinToneModifier(c.text), c.toned);
    }
}

TEST(SymbolCategoriesTest, SevenTabsWithTheirTitlesAndCounts) {
    GroupedEmoji emoji;
    emoji.symbols = {"😀", wave};
    struct Case {
        const char* english;
        const char* chinese;
        std::size_t count;
        const char* first;
        const char* last;
    } cases[] = {
        {"Emoji", "Emoji", 2, "😀", "👋"},
        {"Icons", "常用图标", 38, "★", "□"},
        {"Arrows", "箭头", 38, "←", "↪"},
        {"Shapes", "几何", 38, "●", "⬤"},
        {"Math", "数学", 44, "＋", "∵"},
        {"Punctuation", "标点", 46, "，", "―"},
        {"Currency", "货币", 33, "¥", "‱"},
    };
    const auto english = makeSymbolCategories(emoji, false);
    const auto chinese = makeSymbolCategories(emoji, true);
    ASSERT_EQ(english.size(), std::size(cases));
    ASSERT_EQ(chinese.size(), std::size(cases));
    for (std::size_t i = 0; i < english.size(); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE(c.english);
        EXPECT_EQ(english[i].title, c.english);
        EXPECT_EQ(chinese[i].title, c.chinese);
        EXPECT_EQ(english[i].symbols, chinese[i].symbols);
        ASSERT_EQ(english[i].symbols.size(), c.count);
        EXPECT_EQ(english[i].symbols.front(), c.first);
        EXPECT_EQ(english[i].symbols.back(), c.last);
        for (const auto& symbol : english[i].symbols) {
            EXPECT_FALSE(symbol.empty() || symbol.find(' ') != std::string::npos) << "[" << symbol << "]";
        }
    }
}

}  // namespace
}  // namespace tallowmere::testing
