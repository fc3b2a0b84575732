#include "platform/base/uuid.h"

#include <set>

#include <gtest/gtest.h>

namespace tallowmere::platform {
namespace {

TEST(UuidTest, RandomIdentifiersAreVersionFourAndDistinct) {
    std::set<Uuid> seen;
    for (int index = 0; index < 100; ++index) {
        const Uuid uuid = Uuid::random();
        const std::string text = uuid.uuidString();
        ASSERT_EQ(text.size(), 36u);
        EXPECT_EQ(text[14], '4');
        EXPECT_NE(std::string("89AB").find(text[19]), std::string::npos);
        EXPECT_EQ(text.find_first_of("abcdef"), std::string::npos) << "written upper-case";
        EXPECT_EQ(Uuid::fromString(text), uuid);
        seen.insert(uuid);
    }
    EXPECT_EQ(seen.size(), 100u);
}

TEST(UuidTest, ReadsEitherCaseAndRejectsMalformedText) {
    const auto lower = Uuid::fromString("e621e1f8-c36c-495a-93fc-0c247a3e6e5f");
    ASSERT_TRUE(lower.has_value());
    EXPECT_EQ(lower->uuidString(), "E621E1F8-C36C-495A-93FC-0C247A3E6E5F");
    EXPECT_EQ(Uuid::fromString("E621E1F8-C36C-495A-93FC-0C247A3E6E5F"), lower);

    const char* malformed[] = {
        "",
        "E621E1F8C36C495A93FC0C247A3E6E5F",
        "{E621E1F8-C36C-495A-93FC-0C247A3E6E5F}",
        "E621E1F8-C36C-495A-93FC-0C247A3E6E5",
        "E621E1F8-C36C-495A-93FC-0C247A3E6E5FF",
        "E621E1F8-C36C-495A-93FC-0C247A3E6E5G",
        "E621E1F8+C36C-495A-93FC-0C247A3E6E5F",
        " E621E1F8-C36C-495A-93FC-0C247A3E6E5",
    };
    for (const char* text : malformed) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(Uuid::fromString(text).has_value());
    }
}

}  // namespace
}  // namespace tallowmere::platform
