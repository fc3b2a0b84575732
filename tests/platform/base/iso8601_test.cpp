#include "platform/base/iso8601.h"

#include <cmath>

#include <gtest/gtest.h>

namespace tallowmere::platform {
namespace {

constexpr double december10 = 1796891400;  // 2026-12-10T08:30:00Z

TEST(Iso8601Test, FormatsWholeSecondsInUtc) {
    struct Case {
        double seconds;
        const char* text;
    } cases[] = {
        {december10, "2026-12-10T08:30:00Z"},
        {december10 + 0.999, "2026-12-10T08:30:00Z"},  // floored, never rounded up
        {0, "1970-01-01T00:00:00Z"},
        {-0.5, "1969-12-31T23:59:59Z"},
        {951782400, "2000-02-29T00:00:00Z"},
        {978307200, "2001-01-01T00:00:00Z"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Iso8601::format(Date::fromTimeIntervalSince1970(c.seconds)), c.text);
        auto parsed = Iso8601::parse(c.text);
        ASSERT_TRUE(parsed.ok()) << parsed.error().message;
        EXPECT_EQ(parsed->timeIntervalSince1970(), std::floor(c.seconds));
    }
    EXPECT_EQ(Iso8601::format(Date::fromTimeIntervalSince1970(december10 + 0.25), {.fractionalSeconds = true}),
              "2026-12-10T08:30:00.250Z");
}

TEST(Iso8601Test, ReadsOffsetsAndOptionalFractions) {
    struct Case {
        const char* text;
        Iso8601Options options;
        double expected;
    } cases[] = {
        {"2026-12-10T16:30:00+08:00", {}, december10},
        {"2026-12-10T03:00:00-0530", {}, december10},
        {"2026-12-10T08:30:00+00:00", {}, december10},
        {"2026-12-10T08:30:00.5Z", {.fractionalSeconds = true}, december10 + 0.5},
        {"2026-12-10T08:30:00Z", {.fractionalSeconds = true}, december10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        auto parsed = Iso8601::parse(c.text, c.options);
        ASSERT_TRUE(parsed.ok()) << parsed.error().message;
        EXPECT_DOUBLE_EQ(parsed->timeIntervalSince1970(), c.expected);
    }
}

TEST(Iso8601Test, RejectsWhatStoredFilesMustNotHold) {
    const char* rejected[] = {
        "2026-01-31T08:15:00.5Z",  // a fraction where whole seconds are required
        "2026-12-10T08:30:00",     // no zone
        "2026-12-10 08:30:00Z",
        "2026-12-10t08:30:00z",
        "2026-13-10T08:30:00Z",
        "2026-04-31T08:30:00Z",
        "2025-02-29T08:30:00Z",
        "2026-12-10T24:00:00Z",
        "2026-12-10T08:60:00Z",
        "2026-12-10T08:30:60Z",
        "2026-12-10T08:30:00+24:00",
        "2026-12-10T08:30:00Z ",
        "26-12-10T08:30:00Z",
        "",
    };
    for (const char* text : rejected) {
        SCOPED_TRACE(text);
        auto parsed = Iso8601::parse(text);
        ASSERT_FALSE(parsed.ok());
        EXPECT_EQ(parsed.error().code, ErrorCode::parseFailed);
    }
    EXPECT_FALSE(Iso8601::parse("2026-12-10T08:30:00.Z", {.fractionalSeconds = true}).ok());
}

}  // namespace
}  // namespace tallowmere::platform
