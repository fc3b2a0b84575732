#include "platform/gfx/rich_text_reader.h"

#include <gtest/gtest.h>

#include <string>

namespace tallowmere::platform {
namespace {

// What a run reads as, in one line a failure can show.
std::string describe(const RichText& rich) {
    std::string out;
    std::size_t at = 0;
    for (const auto& run : rich.runs) {
        out += "[" + rich.text.substr(at, run.length) + "|" + run.fontName + "|" + std::to_string(static_cast<int>(run.pointSize * 2));
        if (run.bold) out += "|b";
        if (run.italic) out += "|i";
        if (run.color) out += "|" + run.color->hexString();
        out += "]";
        at += run.length;
    }
    return out;
}

TEST(RichTextReaderTest, ReadsTextWithItsCharacterFormats) {
    struct Case {
        const char* name;
        std::string rtf;
        std::string text;
        std::string runs;
    };
    const std::string tables =
        "{\\rtf1\\ansi\\ansicpg1252\\cocoartf2709\n{\\fonttbl\\f0\\fswiss\\fcharset0 Helvetica;\\f1\\fnil Menlo-Bold;}\n"
        "{\\colortbl;\\red255\\green255\\blue255;\\red255\\green0\\blue0;}\n{\\*\\expandedcolortbl;;}\n\\pard\\tx560 ";
    const Case cases[] = {
        {"font, size, bold and colour switch per run", tables + "\\f0\\fs24 \\cf0 plain \\f1\\b\\fs32\\cf2 red}", "plain red",
         "[plain |Helvetica|24][red|Menlo-Bold|32|b|#FF0000]"},
        {"a group keeps its format to itself", tables + "\\f0\\fs24 a{\\b\\cf1 b}c}", "abc",
         "[a|Helvetica|24][b|Helvetica|24|b|#FFFFFF][c|Helvetica|24]"},
        {"escapes: symbols, hex bytes, \\u with and without a stand-in, a surrogate pair",
         tables + "\\f0 \\{x\\}\\\\ caf\\'e9 \\uc1\\u20013?\\uc0\\u-10179\\u-8704 }", "{x}\\ caf\u00e9 \u4e2d\U0001F600",
         "[{x}\\ caf\u00e9 \u4e2d\U0001F600|Helvetica|24]"},
        {"paragraphs, line breaks and tabs", tables + "a\\par b\\line c\\tab d\\\nend}", "a\nb\nc\td\nend",
         "[a\nb\nc\td\nend|Helvetica|24]"},
        {"\\plain goes back to the defaults", tables + "\\f1\\b\\fs40 x\\plain y}", "xy",
         "[x|Menlo-Bold|40|b][y|Helvetica|24]"},
        {"a lone surrogate becomes the replacement character", "{\\rtf1\\uc0\\u-10179 a}", "\uFFFDa", "[\uFFFDa||24]"},
        {"metadata groups are no text", "{\\rtf1{\\info{\\title T}}{\\stylesheet{\\s0 Normal;}}{\\*\\generator G;}x}", "x",
         "[x||24]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto rich = RichTextReader::read(c.rtf);
        ASSERT_TRUE(rich);
        EXPECT_EQ(rich->text, c.text);
        EXPECT_EQ(describe(*rich), c.runs);
    }
}

TEST(RichTextReaderTest, RefusesWhatIsNoDocument) {
    EXPECT_FALSE(RichTextReader::read(""));
    EXPECT_FALSE(RichTextReader::read("plain text"));
    EXPECT_FALSE(RichTextReader::read("{\\rtf1" + std::string(100000, '{'))) << "nesting beyond any real document";
    auto unclosed = RichTextReader::read("{\\rtf1 a{\\b b");
    ASSERT_TRUE(unclosed) << "a document cut short keeps what it has";
    EXPECT_EQ(unclosed->text, "ab");
}

}  // namespace
}  // namespace tallowmere::platform
