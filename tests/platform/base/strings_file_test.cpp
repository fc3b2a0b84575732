#include "platform/base/strings_file.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/base/property_list.h"

namespace tallowmere::platform {
namespace {

using Table = PropertyValue::Dictionary;

Result<Table> readText(const std::string& bytes) {
    return StringsFile::read(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

std::string utf16(const std::u16string& text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t unit : text) {
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

TEST(StringsFileTest, ReadsTheTextFormInEveryEncodingBundlesUse) {
    struct Case {
        const char* what;
        std::string bytes;
        std::optional<Table> expected;  // none: an error
    } cases[] = {
        {"pairs with comments", "/* a */\n\"CFBundleName\" = \"Ed\"; // b\n\"k\"=\"v\";", Table{{"CFBundleName", "Ed"}, {"k", "v"}}},
        {"empty", "", Table{}},
        {"comments only", "// nothing\n/* here */", Table{}},
        {"byte-order mark", "\xEF\xBB\xBF\"a\" = \"编辑器\";", Table{{"a", "编辑器"}}},
        {"UTF-16 little-endian", utf16(u"\"a\" = \"编辑器 😀\";", false), Table{{"a", "编辑器 😀"}}},
        {"UTF-16 big-endian", utf16(u"\"a\" = \"b\";", true), Table{{"a", "b"}}},
        {"escapes", R"("a" = "q\"\\\n\t\U00e9\UD83D\UDE00\101";)", Table{{"a", "q\"\\\n\t\u00e9😀A"}}},
        {"unquoted words and a key alone", "CFBundleName = Ed.1; \"solo\";", Table{{"CFBundleName", "Ed.1"}, {"solo", "solo"}}},
        {"one outer dictionary", "{ \"a\" = \"b\"; }", Table{{"a", "b"}}},
        {"later duplicate wins", "\"a\" = \"1\"; \"a\" = \"2\";", Table{{"a", "2"}}},
        {"unpaired surrogate", R"("a" = "\UD83Dx";)", Table{{"a", "\uFFFDx"}}},
        {"missing semicolon", "\"a\" = \"b\"", std::nullopt},
        {"unclosed string", "\"a\" = \"b;", std::nullopt},
        {"unclosed comment", "/* \"a\" = \"b\";", std::nullopt},
        {"missing value", "\"a\" = ;", std::nullopt},
        {"unclosed dictionary", "{ \"a\" = \"b\";", std::nullopt},
        {"text after the table", "\"a\" = \"b\"; }", std::nullopt},
        {"not UTF-8", "\"a\" = \"\xC3\";", std::nullopt},
        {"lone escape at the end", "\"a\" = \"\\", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto table = readText(c.bytes);
        ASSERT_EQ(table.ok(), c.expected.has_value()) << (table.ok() ? "" : table.error().message);
        if (c.expected) {
            EXPECT_EQ(*table, *c.expected);
        }
    }
}

TEST(StringsFileTest, ReadsPropertyListsWhoseRootIsADictionary) {
    const Table table{{"CFBundleDisplayName", "编辑器"}, {"count", 3}};
    for (PropertyListFormat format : {PropertyListFormat::xml, PropertyListFormat::binary}) {
        auto bytes = PropertyList::write(PropertyValue(table), format);
        ASSERT_TRUE(bytes.ok());
        auto read = StringsFile::read(*bytes);
        ASSERT_TRUE(read.ok());
        EXPECT_EQ(*read, table);
    }
    auto array = PropertyList::write(PropertyValue(PropertyValue::Array{"a"}));
    ASSERT_TRUE(array.ok());
    EXPECT_FALSE(StringsFile::read(*array).ok());
}

}  // namespace
}  // namespace tallowmere::platform
