#include "localization/complete_localization.h"

#include <gtest/gtest.h>

#include "localization/embedded_tables.h"

namespace tallowmere {
namespace {

using Catalog = CompleteLocalization::Catalog;

constexpr std::string_view wellFormed = R"({
  "keys": ["关于", "取消", "好"],
  "translations": {
    "english": ["About", "Cancel", "OK"],
    "german": ["Über uns", "Abbrechen"],
    "japanese": "概要",
    "french": ["À propos", 3, "OK"]
  }
})";

TEST(CompleteLocalizationTest, AnswersByKeyPositionAndLanguageCaseName) {
    const Catalog catalog = Catalog::parse(wellFormed);
    EXPECT_EQ(catalog.text("取消", "english"), "Cancel");
    EXPECT_EQ(catalog.text("关于", "german"), "Über uns");
    EXPECT_EQ(catalog.text("好", "english"), "OK");

    // Unknown keys and languages, and raw values in place of case names, get nothing.
    EXPECT_EQ(catalog.text("删除", "english"), std::nullopt);
    EXPECT_EQ(catalog.text("关于", "simplifiedChinese"), std::nullopt);
    EXPECT_EQ(catalog.text("关于", "en"), std::nullopt);
    // An array shorter than the key list answers up to its end only.
    EXPECT_EQ(catalog.text("好", "german"), std::nullopt);
    // A member that is not an array of strings is skipped alone.
    EXPECT_EQ(catalog.text("关于", "japanese"), std::nullopt);
    EXPECT_EQ(catalog.text("关于", "french"), std::nullopt);
    EXPECT_EQ(catalog.translations().size(), 2u);
}

TEST(CompleteLocalizationTest, MalformedDocumentsGiveTheEmptyCatalog) {
    struct Case {
        const char* name;
        std::string_view json;
    } cases[] = {
        {"translations missing", R"({"keys": ["关于"]})"},
        {"translations not an object", R"({"keys": ["关于"], "translations": [["About"]]})"},
        {"keys missing", R"({"translations": {"english": ["About"]}})"},
        {"keys not an array", R"({"keys": "关于", "translations": {"english": ["About"]}})"},
        {"a key not a string", R"({"keys": ["关于", 2], "translations": {"english": ["About", "Two"]}})"},
        {"top level an array", R"([{"keys": ["关于"], "translations": {"english": ["About"]}}])"},
        {"not JSON", R"({"keys": ["关于"], "translations": {"english": ["About"]})"},
        {"not UTF-8", "{\"keys\": [\"\xff\"], \"translations\": {\"english\": [\"About\"]}}"},
        {"empty text", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Catalog catalog = Catalog::parse(c.json);
        EXPECT_TRUE(catalog.isEmpty());
        EXPECT_EQ(catalog.text("关于", "english"), std::nullopt);
    }
}

TEST(CompleteLocalizationTest, ShippedCatalogIsParsed) {
    // Whatever its content, the shipped document must be well-formed: an
    // unreadable catalogue would fail silently in the program.
    EXPECT_FALSE(CompleteLocalization::catalog().keys().empty());
    EXPECT_EQ(&CompleteLocalization::catalog(), &CompleteLocalization::catalog());

    // The program starts from the tables the build read; they must be the document, text for text.
    const Catalog parsed = Catalog::parse(resources::catalogJSON);
    EXPECT_EQ(CompleteLocalization::catalog().keys(), parsed.keys());
    EXPECT_EQ(CompleteLocalization::catalog().translations(), parsed.translations());
}

}  // namespace
}  // namespace tallowmere
