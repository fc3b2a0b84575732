#include "platform/base/format.h"

#include <vector>

#include <gtest/gtest.h>

namespace tallowmere::platform {
namespace {

TEST(FormatTest, FillsTranslatedTemplates) {
    struct Case {
        const char* templateText;
        std::vector<FormatArgument> arguments;
        const char* expected;
    } cases[] = {
        {"Unable to persist configuration: %@", {"disk full"}, "Unable to persist configuration: disk full"},
        {"无法新建 .%@：缺少有效文档模板", {"xls"}, "无法新建 .xls：缺少有效文档模板"},
        {"另有 %d 个项目。", {5}, "另有 5 个项目。"},
        {"%i|%ld|%lld|%u|%hhd|%zu", {1, -2, 3, 4, 5, 6}, "1|-2|3|4|5|6"},
        {"%u", {-1}, "18446744073709551615"},
        {"%02d:%02d", {7, 5}, "07:05"},
        {"[%5d|%-5d|%05d|%+d|% d]", {42, 42, -42, 42, 42}, "[   42|42   |-0042|+42| 42]"},
        {"%.3d|%x|%#X|%o", {7, 255, 255, 8}, "007|ff|0XFF|10"},
        {"%.1f%%", {99.95}, "100.0%"},
        {"%.1f|%.0f|%.0f|%f", {2.25, 0.5, 1.5, 1.0}, "2.2|0|2|1.000000"},
        {"%6.2f|%-8.3e|%g|%G", {3.14159, 1234.5, 0.0001, 1e20}, "  3.14|1.234e+03|0.0001|1E+20"},
        {"%@ / %@ / %@", {"x", 3, 2.5}, "x / 3 / 2.5"},
        {"%2$@ 比 %1$@ 大 %3$d 岁", {"小明", "小红", 2}, "小红 比 小明 大 2 岁"},
        {"%1$@%1$@", {"ab"}, "abab"},
        {"%2$d %d %d", {1, 2}, "2 1 2"},  // plain placeholders keep their own order
        {"%5@|%-5@|", {"中文", "ab"}, "   中文|ab   |"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.templateText);
        EXPECT_EQ(formatTemplate(c.templateText, c.arguments), c.expected);
    }
}

TEST(FormatTest, NeverReadsPastItsArgumentsOrFails) {
    struct Case {
        const char* templateText;
        std::vector<FormatArgument> arguments;
        const char* expected;
    } cases[] = {
        {"%@ and %@", {"one"}, "one and "},  // a missing argument renders nothing
        {"%d%%", {}, "%"},
        {"%0$@|%3$@|%1$@", {"a"}, "||a"},
        {"only %@", {"a", "b", 3}, "only a"},  // extra arguments are ignored
        {"no placeholders", {1}, "no placeholders"},
        {"100%", {}, "100%"},
        {"%k %*d %", {1}, "%k %*d %"},  // unknown or unfinished: copied as written
        {"%l", {1}, "%l"},
        {"%d", {"text"}, "text"},        // text for a number is shown as it is
        {"%d|%f", {2.9, 2}, "2|2.000000"},  // reals truncate, integers widen
        {"%d", {1e300}, "9223372036854775807"},
        {"%f|%e|%F", {1.0 / 0.0, -1.0 / 0.0, 0.0 / 0.0}, "inf|-inf|NAN"},
        {"%99999999999d", {1}, nullptr},  // width capped; checked by length below
        {"", {}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.templateText);
        const std::string result = formatTemplate(c.templateText, c.arguments);
        if (c.expected) {
            EXPECT_EQ(result, c.expected);
        } else {
            EXPECT_EQ(result.size(), 1024u);
        }
    }
}

TEST(FormatTest, VariadicFormTakesTextIntegersAndReals) {
    const std::string name = "塔洛梅";
    EXPECT_EQ(formatTemplate("%@ %d %.1f %@", name, 3, 0.25, std::string_view("ok")), "塔洛梅 3 0.2 ok");
    EXPECT_EQ(formatTemplate("plain"), "plain");
}

}  // namespace
}  // namespace tallowmere::platform
