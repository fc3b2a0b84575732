#include "platform/base/text.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tallowmere::platform {
namespace {

TEST(TextTest, CountsAndCutsUserPerceivedCharacters) {
    const std::string thumbsUp = "\U0001F44D\U0001F3FD";       // with a skin-tone modifier
    const std::string family = "\U0001F468\u200D\U0001F469\u200D\U0001F467";  // joined by ZWJ
    const std::string flag = "\U0001F1E8\U0001F1F3";
    const std::string accented = "e\u0301";  // e + combining acute
    struct Case {
        std::string text;
        std::size_t count;
        std::string firstTwo;
    } cases[] = {
        {"", 0, ""},
        {"abc", 3, "ab"},
        {"塔洛梅", 3, "塔洛"},
        {thumbsUp + "a", 2, thumbsUp + "a"},
        {family + flag + "x", 3, family + flag},
        {accented + accented + accented, 3, accented + accented},
        {"\r\nx", 2, "\r\nx"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Text::graphemeCount(c.text), c.count);
        EXPECT_EQ(Text::prefixGraphemes(c.text, 2), c.firstTwo);
    }
    EXPECT_EQ(Text::graphemeCount(std::string(100, 'x')), 100u);
    EXPECT_EQ(Text::prefixGraphemes("  " + thumbsUp + "a", 3), "  " + thumbsUp);
}

TEST(TextTest, TrimsUnicodeWhitespaceAndLineBreaksOnly) {
    struct Case {
        std::string text;
        std::string trimmed;
    } cases[] = {
        {"  name \t\n", "name"},
        {"\u3000全角\u3000", "全角"},                   // ideographic space
        {"\u00A0\u2028a b\u2029\u0085", "a b"},        // NBSP, line and paragraph separators, NEL
        {"\u200Bzero width\u200B", "\u200Bzero width\u200B"},  // not white space
        {" \r\n ", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Text::trimmingWhitespaceAndNewlines(c.text), c.trimmed);
    }
}

TEST(TextTest, ComposesToNfc) {
    EXPECT_EQ(Text::nfc("e\u0301"), "\u00E9");
    EXPECT_EQ(Text::nfc("\u00E9"), "\u00E9");
    EXPECT_EQ(Text::nfc("한"), "한");
}

TEST(TextTest, SortsNamesAsAFileListDoes) {
    std::vector<std::string> names = {"file10.txt", "File2.txt", "file1.txt", "file2.txt", "abc", "Zeta", "ábc"};
    std::stable_sort(names.begin(), names.end(),
                     [](const std::string& a, const std::string& b) { return Text::compareNumeric(a, b) < 0; });
    const std::vector<std::string> expected = {"abc", "ábc", "file1.txt", "File2.txt", "file2.txt", "file10.txt",
                                               "Zeta"};
    EXPECT_EQ(names, expected);
    EXPECT_EQ(Text::compareNumeric("FILE", "file"), std::weak_ordering::equivalent);
    EXPECT_EQ(Text::compareNumeric("abc", "ábc"), std::weak_ordering::less);
}

TEST(TextTest, TransliteratesSimplifiedToTraditional) {
    EXPECT_EQ(Text::simplifiedToTraditional("简体中文 设置 OK"), "簡體中文 設置 OK");
}

TEST(TextTest, ValidatesAndRepairsUtf8) {
    struct Case {
        std::string bytes;
        bool valid;
        std::string repaired;
    } cases[] = {
        {"plain 中文 \U0001F600", true, "plain 中文 \U0001F600"},
        {"a\xFF" "b", false, "a\uFFFDb"},
        {"\xC0\xAF", false, "\uFFFD\uFFFD"},            // overlong "/"
        {"\xED\xA0\x80", false, "\uFFFD\uFFFD\uFFFD"},  // a UTF-16 surrogate
        {"\xF4\x90\x80\x80", false, "\uFFFD\uFFFD\uFFFD\uFFFD"},  // past U+10FFFF
        {"\xE4\xB8", false, "\uFFFD"},                  // truncated 中, one maximal subpart
        {"\xE4\xB8x", false, "\uFFFDx"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.repaired);
        EXPECT_EQ(Text::isValidUtf8(c.bytes), c.valid);
        EXPECT_EQ(Text::repairUtf8(c.bytes), c.repaired);
    }
    EXPECT_EQ(Text::graphemeCount("a\xFF" "b"), 3u) << "ill-formed bytes still count, as U+FFFD";
}

TEST(TextTest, GivesEachCountItsLanguagesPluralCategory) {
    struct Case {
        const char* tag;
        long long count;
        const char* category;
    } cases[] = {
        {"en", 1, "one"},     {"en", 0, "other"},   {"en", 2, "other"},  {"fr", 0, "one"},    {"fr", 2, "other"},
        {"ru", 1, "one"},     {"ru", 3, "few"},     {"ru", 5, "many"},   {"ru", 11, "many"},  {"ru", 21, "one"},
        {"uk", 22, "few"},    {"ar", 0, "zero"},    {"ar", 2, "two"},    {"ar", 3, "few"},    {"ar", 11, "many"},
        {"ar", 100, "other"}, {"ja", 1, "other"},   {"zh-Hant-TW", 1, "other"}, {"zh-Hans-SD", 1, "other"},
        {"", 1, "other"},     {"not a tag", 1, "other"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.tag) + " " + std::to_string(c.count));
        EXPECT_EQ(Text::pluralCategory(c.tag, c.count), c.category);
    }
}

}  // namespace
}  // namespace tallowmere::platform
