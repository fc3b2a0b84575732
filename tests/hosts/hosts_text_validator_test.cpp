#include "hosts/hosts_text_validator.h"

#include <gtest/gtest.h>

namespace tallowmere {
namespace {

std::string missingHostName(int line) {
    return "第 " + std::to_string(line) + " 行缺少主机名，正确格式为：IP 地址 + 主机名。";
}

TEST(HostsTextValidatorTest, ReportsTheFirstLineWithoutAHostName) {
    struct Case {
        const char* name;
        std::string text;
        std::optional<std::string> message;
    } cases[] = {
        {"address and name", "127.0.0.1 localhost", std::nullopt},
        {"address alone", "127.0.0.1", missingHostName(1)},
        {"many names", "10.0.0.1 a b c # note", std::nullopt},
        {"comment starts the second field", "127.0.0.1 #localhost", missingHostName(1)},
        {"comment glued to the name", "127.0.0.1 localhost#x", std::nullopt},
        {"tab separates", "127.0.0.1\tlocalhost", std::nullopt},
        {"ideographic space does not separate", "127.0.0.1\u3000localhost", missingHostName(1)},
        {"ideographic spaces at the ends are trimmed", "\u3000127.0.0.1 localhost\u3000", std::nullopt},
        {"a line of ideographic spaces is blank", "\u3000\u3000\n\u3000# note", std::nullopt},
        {"other space separators are trimmed", "\u2003\u202F\u205F\u1680\u00A0\n", std::nullopt},
        {"no-break space at the ends is trimmed, not a separator", "\u00A0127.0.0.1\u00A0localhost", missingHostName(1)},
        {"blank lines and comments are skipped", "\n   \n# a comment\n\t# indented\n", std::nullopt},
        {"empty text", "", std::nullopt},
        {"second line of LF text", "127.0.0.1 a\nbad\n", missingHostName(2)},
        {"CR LF counts two breaks", "127.0.0.1 a\r\nbad\r\n", missingHostName(3)},
        {"lone CR breaks", "127.0.0.1 a\rbad", missingHostName(2)},
        {"line separator breaks", "127.0.0.1 a\u2028bad", missingHostName(2)},
        {"paragraph separator and NEL break", "a b\u2029c d\u0085bad", missingHostName(3)},
        {"vertical tab and form feed break", "a b\x0B" "c d\x0C" "bad", missingHostName(3)},
        {"only the first bad line", "x\ny\n", missingHostName(1)},
        {"any first field passes", "not-an-address name", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(validateHostsText(c.text), c.message);
    }
}

}  // namespace
}  // namespace tallowmere
