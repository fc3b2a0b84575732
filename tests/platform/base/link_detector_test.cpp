#include "platform/base/link_detector.h"

#include <gtest/gtest.h>

namespace tallowmere::platform {
namespace {

TEST(LinkDetectorTest, FindsLinksAsTheSystemReadsThem) {
    struct Case {
        const char* text;
        std::vector<LinkDetector::Match> matches;
    } cases[] = {
        {"example.com", {{0, 11, "http://example.com"}}},
        {"a@b.cn", {{0, 6, "mailto:a@b.cn"}}},
        {"HTTPS://A.B", {{0, 11, "HTTPS://A.B"}}},
        {"see https://a.b/c?d=1.", {{4, 17, "https://a.b/c?d=1"}}},
        {"(www.example.org/x), then", {{1, 17, "http://www.example.org/x"}}},
        {"ftp://host", {{0, 10, "ftp://host"}}},
        {"mailto:x@y.io", {{0, 13, "mailto:x@y.io"}}},
        {"example.com:8080/a", {{0, 18, "http://example.com:8080/a"}}},
        {"two: a.io b.io", {{5, 4, "http://a.io"}, {10, 4, "http://b.io"}}},
        {"mailto:", {}},
        {"http://", {}},
        {"version 1.2", {}},
        {"a:b", {}},
        {"-bad.com", {}},
        {"示例 中文", {}},
        {"", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(LinkDetector::matches(c.text), c.matches);
    }
}

}  // namespace
}  // namespace tallowmere::platform
