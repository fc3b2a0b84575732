#include "platform/base/json.h"

#include <limits>

#include <gtest/gtest.h>

namespace tallowmere::platform {
namespace {

using nlohmann::json;

TEST(JsonTest, WritesStoredFilesInTheMacLayout) {
    const json document = {
        {"windows", json::array({{{"x", 10.0}, {"y", -2.5}, {"minimized", false}}})},
        {"id", "E621E1F8-C36C-495A-93FC-0C247A3E6E5F"},
        {"documentURL", "file:///Users/a/b.txt"},
        {"empty", json::array()},
        {"nothing", json::object()},
        {"count", 3},
    };
    auto written = Json::write(document);
    ASSERT_TRUE(written.ok()) << written.error().message;
    EXPECT_EQ(*written,
              "{\n"
              "  \"count\" : 3,\n"
              "  \"documentURL\" : \"file:\\/\\/\\/Users\\/a\\/b.txt\",\n"
              "  \"empty\" : [],\n"
              "  \"id\" : \"E621E1F8-C36C-495A-93FC-0C247A3E6E5F\",\n"
              "  \"nothing\" : {},\n"
              "  \"windows\" : [\n"
              "    {\n"
              "      \"minimized\" : false,\n"
              "      \"x\" : 10,\n"
              "      \"y\" : -2.5\n"
              "    }\n"
              "  ]\n"
              "}");
    EXPECT_EQ(*Json::write(document, {.prettyPrinted = false, .escapeSlashes = false}),
              R"({"count":3,"documentURL":"file:///Users/a/b.txt","empty":[],)"
              R"("id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","nothing":{},)"
              R"("windows":[{"minimized":false,"x":10,"y":-2.5}]})");
}

TEST(JsonTest, EscapesControlCharactersAndRepairsBrokenText) {
    const json text = std::string("tab\there \"q\" \\ \x01 中文 bad\xFF");
    EXPECT_EQ(*Json::write(text), "\"tab\\there \\\"q\\\" \\\\ \\u0001 中文 bad\uFFFD\"");
    // What is written reads back, real numbers included.
    const json numbers = json::array({0.1, 1e20, -0.0, 123456789012345678LL, 2.0});
    auto again = Json::parse(*Json::write(numbers));
    ASSERT_TRUE(again.ok());
    EXPECT_EQ((*again)[0].get<double>(), 0.1);
    EXPECT_EQ((*again)[1].get<double>(), 1e20);
    EXPECT_EQ((*again)[3].get<std::int64_t>(), 123456789012345678LL);
    EXPECT_EQ((*again)[4].get<double>(), 2.0);
}

TEST(JsonTest, RefusesWhatItCannotWrite) {
    for (double value : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        auto written = Json::write(json::array({value}));
        ASSERT_FALSE(written.ok());
        EXPECT_EQ(written.error().code, ErrorCode::invalidArgument);
    }
}

TEST(JsonTest, DamagedDocumentsAreErrorValues) {
    struct Case {
        const char* name;
        std::string text;
    } cases[] = {
        {"empty", ""},
        {"truncated", R"([{"id": "A", "name": "x")"},
        {"noise", "\x13\x37\xFF garbage"},
        {"trailing text", "{} {}"},
        {"invalid UTF-8 in a string", "[\"\xFF\"]"},
        {"too deep", std::string(100000, '[') + std::string(100000, ']')},
        {"single quotes", "{'a': 1}"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto parsed = Json::parse(c.text);
        ASSERT_FALSE(parsed.ok());
        EXPECT_EQ(parsed.error().code, ErrorCode::parseFailed);
        EXPECT_FALSE(parsed.error().message.empty());
    }
    // Brackets inside strings do not count as nesting.
    EXPECT_TRUE(Json::parse("[\"" + std::string(1000, '[') + "\\\"\"]").ok());
}

TEST(JsonTest, ConvertsPropertyValuesKeepingKinds) {
    const PropertyValue value = PropertyValue::Dictionary{
        {"flag", true},
        {"count", 2},
        {"ratio", 2.0},
        {"name", "a/b"},
        {"list", PropertyValue::Array{1, "x"}},
        {"when", Date::fromTimeIntervalSince1970(1796891400.7)},
        {"blob", Data{'h', 'i', '!'}},
    };
    auto document = Json::fromPropertyValue(value);
    ASSERT_TRUE(document.ok());
    EXPECT_EQ(*Json::write(*document, {.prettyPrinted = false, .escapeSlashes = false}),
              R"({"blob":"aGkh","count":2,"flag":true,"list":[1,"x"],"name":"a/b","ratio":2,)"
              R"("when":"2026-12-10T08:30:00Z"})");

    auto back = Json::toPropertyValue(*Json::parse(R"({"flag":true,"count":2,"ratio":2.0,"big":18446744073709551615})"));
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(back->find("flag")->type(), PropertyType::boolean);
    EXPECT_EQ(back->find("count")->type(), PropertyType::integer);
    EXPECT_EQ(back->find("ratio")->type(), PropertyType::real);
    EXPECT_EQ(back->find("big")->type(), PropertyType::real);

    auto withNull = Json::toPropertyValue(*Json::parse(R"({"a":[null]})"));
    ASSERT_FALSE(withNull.ok());
    EXPECT_EQ(withNull.error().code, ErrorCode::wrongShape);
}

}  // namespace
}  // namespace tallowmere::platform
