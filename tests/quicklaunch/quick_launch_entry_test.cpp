#include "quicklaunch/quick_launch_entry.h"

#include <gtest/gtest.h>

#include <string>

namespace tallowmere {
namespace {

const platform::Uuid firstId = *platform::Uuid::fromString("0a9f1c52-6e3b-4c1d-9a77-2b8e5f4d3c21");
const platform::Uuid secondId = *platform::Uuid::fromString("1B2C3D4E-5F60-4718-8293-A4B5C6D7E8F9");

TEST(QuickLaunchEntryCodingTest, WritesSortedKeysEscapedSlashesUpperCaseIdsAndLeavesAbsentOptionalsOut) {
    const std::vector<QuickLaunchEntry> entries = {
        {firstId, QuickLaunchKind::application, "编辑器", "/Applications/Editor.app", "com.example.editor",
         std::nullopt, std::nullopt},
        {secondId, QuickLaunchKind::website, "A \"quoted\" site", "https://a.example/x", std::nullopt, "globe", "🙂"},
    };
    auto written = QuickLaunchEntryCoding::encode(entries);
    ASSERT_TRUE(written.ok());
    EXPECT_EQ(*written,
              "[\n"
              "  {\n"
              "    \"bundleIdentifier\" : \"com.example.editor\",\n"
              "    \"id\" : \"0A9F1C52-6E3B-4C1D-9A77-2B8E5F4D3C21\",\n"
              "    \"kind\" : \"application\",\n"
              "    \"name\" : \"编辑器\",\n"
              "    \"target\" : \"\\/Applications\\/Editor.app\"\n"
              "  },\n"
              "  {\n"
              "    \"id\" : \"1B2C3D4E-5F60-4718-8293-A4B5C6D7E8F9\",\n"
              "    \"kind\" : \"website\",\n"
              "    \"name\" : \"A \\\"quoted\\\" site\",\n"
              "    \"target\" : \"https:\\/\\/a.example\\/x\",\n"
              "    \"websiteEmoji\" : \"🙂\",\n"
              "    \"websiteIconStyle\" : \"globe\"\n"
              "  }\n"
              "]");
    auto read = QuickLaunchEntryCoding::decode(*written);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(*read, entries);
    EXPECT_EQ(*QuickLaunchEntryCoding::encode({}), "[]");
}

TEST(QuickLaunchEntryCodingTest, OneBadEntryMakesTheWholeListUnreadable) {
    const std::string good = R"({"id":"1B2C3D4E-5F60-4718-8293-A4B5C6D7E8F9","kind":"file","name":"n","target":"t"})";
    struct Case {
        const char* what;
        std::string json;
        bool readable;
    } cases[] = {
        {"a good entry with an unknown key and null optionals",
         R"([{"id":"1B2C3D4E-5F60-4718-8293-A4B5C6D7E8F9","kind":"file","name":"n","target":"t","x":[1],"websiteEmoji":null}])", true},
        {"an empty list", "[]", true},
        {"every kind", R"([{"id":"1B2C3D4E-5F60-4718-8293-A4B5C6D7E8F9","kind":"newFile","name":"","target":""}])", true},
        {"not an array", good, false},
        {"an element that is no object", "[" + good + ", 3]", false},
        {"an id that is no UUID", R"([{"id":"1B2C3D4E","kind":"file","name":"n","target":"t"}])", false},
        {"a kind in other case", R"([{"id":"1B2C3D4E-5F60-4718-8293-A4B5C6D7E8F9","kind":"File","name":"n","target":"t"}])", false},
        {"a name that is no text", R"([{"id":"1B2C3D4E-5F60-4718-8293-A4B5C6D7E8F9","kind":"file","name":1,"target":"t"}])", false},
        {"a null name", R"([{"id":"1B2C3D4E-5F60-4718-8293-A4B5C6D7E8F9","kind":"file","name":null,"target":"t"}])", false},
        {"an optional that is no text", "[" + good.substr(0, good.size() - 1) + R"(,"websiteIconStyle":true}])", false},
        {"broken UTF-8", "[" + good.substr(0, good.size() - 3) + "\xC3\"}]", false},
        {"trailing text", "[" + good + "] x", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(QuickLaunchEntryCoding::decode(c.json).ok(), c.readable);
    }
}

}  // namespace
}  // namespace tallowmere
