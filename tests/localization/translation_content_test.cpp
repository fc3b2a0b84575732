// The shipped translation data: the catalogue, the built-in translations and
// the four fallback tables must agree with each other and with the rules the
// lookup relies on. A fault here would show a user an empty label, a text of
// another key, or a message whose placeholders are filled with the wrong values.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>

#include "localization/complete_localization.h"
#include "localization/translation_table.h"
#include "localization/embedded_tables.h"
#include "platform/base/text.h"

namespace tallowmere {
namespace {

using Language = InterfaceLanguage;

// The format placeholders of a text in order ("%@", "%d", "%1$@", "%.1f");
// "%%" is a literal percent sign.
std::vector<std::string> placeholders(const std::string& text) {
    static const std::regex placeholder(R"(%(?:\d+\$)?[-+ #0]*\d*(?:\.\d+)?(?:hh|h|ll|l|q|z)?[@dDiuUxXoOfeEgGcCsSp%])");
    std::vector<std::string> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), placeholder); it != std::sregex_iterator(); ++it) {
        if (it->str() != "%%") found.push_back(it->str());
    }
    return found;
}

void expectKeepsPlaceholders(const std::string& key, const std::string& text, std::string_view where) {
    EXPECT_FALSE(text.empty()) << where << ": empty text for \"" << key << "\"";
    EXPECT_EQ(placeholders(text), placeholders(key)) << where << ": \"" << key << "\" → \"" << text << "\"";
}

std::set<Language::Value> languagesOf(const TranslationTable::Row& row) {
    std::set<Language::Value> languages;
    for (Language language : Language::allCases()) {
        if (row.texts[language.index()]) languages.insert(language);
    }
    return languages;
}

struct ShippedFallback {
    Language::Value language;
    std::string_view json;
    std::size_t pairs;
    std::size_t keysWithBuiltInText;  // where the built-in text wins
};
// A function, not a global: the resources are globals of another file.
std::vector<ShippedFallback> shippedFallbacks() {
    return {
        {Language::ukrainian, resources::ukrainianFallbackJSON, 73, 0},
        {Language::shandongChicken, resources::shandongFallbackJSON, 46, 0},
        {Language::shandongFish, resources::jiaodongFallbackJSON, 51, 0},
        {Language::cantonese, resources::cantoneseFallbackJSON, 53, 7},
    };
}

TEST(TranslationContentTest, CatalogueArraysAreAlignedAndComplete) {
    const auto& catalog = CompleteLocalization::catalog();
    ASSERT_FALSE(catalog.keys().empty()) << "the catalogue does not parse";
    EXPECT_EQ(std::set<std::string>(catalog.keys().begin(), catalog.keys().end()).size(), catalog.keys().size())
        << "repeated catalogue key";

    for (Language language : Language::allCases()) {
        SCOPED_TRACE(language.caseName());
        auto texts = catalog.translations().find(language.caseName());
        if (language == Language::simplifiedChinese) {
            EXPECT_EQ(texts, catalog.translations().end()) << "the source language needs no texts";
            continue;
        }
        ASSERT_NE(texts, catalog.translations().end()) << "language missing from the catalogue";
        ASSERT_EQ(texts->second.size(), catalog.keys().size()) << "array not aligned with the keys";
        for (std::size_t i = 0; i < texts->second.size(); ++i) {
            expectKeepsPlaceholders(catalog.keys()[i], texts->second[i], "catalogue");
        }
    }
    EXPECT_EQ(catalog.translations().size(), Language::count - 1) << "a member that is not a language";
}

TEST(TranslationContentTest, BuiltInRowsAreWellFormedAndUseTheAllowedLanguageSets) {
    std::vector<std::string> problems;
    const TranslationTable table = TranslationTable::parse(resources::translationsJSON, &problems);
    EXPECT_EQ(problems, std::vector<std::string>{});
    ASSERT_FALSE(table.rows().empty());

    using S = std::set<Language::Value>;
    const S ten{Language::english, Language::japanese, Language::traditionalChineseTaiwan,
                Language::traditionalChineseHongKong, Language::korean, Language::french, Language::german,
                Language::spanish, Language::russian, Language::thai};
    S twelve = ten;
    twelve.insert({Language::turkish, Language::arabic});
    S all;
    for (Language language : Language::allCases()) {
        if (language != Language::simplifiedChinese) all.insert(language);
    }
    const std::set<S> allowedSets{
        all, ten, twelve, S{Language::english, Language::japanese},
        S{Language::english, Language::japanese, Language::shandongChicken, Language::cantonese}};

    for (const TranslationTable::Row& row : table.rows()) {
        SCOPED_TRACE(row.key);
        EXPECT_TRUE(allowedSets.contains(languagesOf(row))) << "a language set no row may have";
        for (const auto& text : row.texts) {
            if (text) expectKeepsPlaceholders(row.key, *text, "built-in translations");
        }
    }
}

TEST(TranslationContentTest, FallbackTablesHaveTheirSizesAndOnlyKnownKeys) {
    const TranslationTable table = TranslationTable::parse(resources::translationsJSON);
    const auto& catalog = CompleteLocalization::catalog();
    const std::set<std::string> catalogKeys(catalog.keys().begin(), catalog.keys().end());

    for (const ShippedFallback& shipped : shippedFallbacks()) {
        const Language language = shipped.language;
        SCOPED_TRACE(language.caseName());
        std::vector<std::string> problems;
        const FallbackTable fallback = FallbackTable::parse(shipped.json, &problems);
        EXPECT_EQ(problems, std::vector<std::string>{});
        EXPECT_EQ(fallback.pairs().size(), shipped.pairs);

        std::size_t keysWithBuiltInText = 0;
        for (const auto& [key, text] : fallback.pairs()) {
            expectKeepsPlaceholders(key, text, "fallback table");
            // A key nobody else knows would be a misspelt one that never matches a call site.
            EXPECT_TRUE(table.row(key) || catalogKeys.contains(key)) << "unknown key \"" << key << "\"";
            if (table.text(key, language)) ++keysWithBuiltInText;
        }
        // A built-in text for a fallback key makes the fallback text dead, except where that is meant.
        EXPECT_EQ(keysWithBuiltInText, shipped.keysWithBuiltInText);
    }
}

TEST(TranslationContentTest, PluralFormsKeepTheirPlaceholdersAndTheirLanguagesCategories) {
    std::vector<std::string> problems;
    const PluralTable table = PluralTable::parse(resources::pluralsJSON, &problems);
    EXPECT_EQ(problems, std::vector<std::string>{});
    ASSERT_FALSE(table.rows().empty());
    const TranslationTable translations = TranslationTable::parse(resources::translationsJSON);
    const auto& catalog = CompleteLocalization::catalog();
    const std::set<std::string> catalogKeys(catalog.keys().begin(), catalog.keys().end());

    for (const PluralTable::Row& row : table.rows()) {
        SCOPED_TRACE(row.key);
        EXPECT_TRUE(translations.row(row.key) || catalogKeys.contains(row.key)) << "unknown key";
        std::vector<std::string> withoutCount = placeholders(row.key);
        std::erase(withoutCount, "%d");
        for (Language language : Language::allCases()) {
            if (row.forms[language.index()].empty()) continue;
            std::set<std::string> reachable;
            for (long long count = 0; count <= 1000; ++count) {
                reachable.insert(platform::Text::pluralCategory(language.rawValue(), count));
            }
            for (const auto& [category, text] : row.forms[language.index()]) {
                SCOPED_TRACE(std::string(language.caseName()) + " " + category + ": " + text);
                // A misspelt or foreign category would never be chosen.
                EXPECT_TRUE(reachable.contains(category) || category == "other");
                // A category of one exact number ("one window") may spell the number out.
                const bool exactNumber = category == "zero" || category == "one" || category == "two";
                const auto found = placeholders(text);
                EXPECT_TRUE(found == placeholders(row.key) || (exactNumber && found == withoutCount));
            }
        }
    }
}

TEST(TranslationContentTest, TheShippedTablesBuildFromTheirResources) {
    EXPECT_EQ(&BuiltInTranslations::translations(), &BuiltInTranslations::translations());
    for (const ShippedFallback& shipped : shippedFallbacks()) {
        const FallbackTable* fallback = BuiltInTranslations::fallback(shipped.language);
        ASSERT_NE(fallback, nullptr);
        EXPECT_EQ(fallback->pairs().size(), shipped.pairs);
    }
    EXPECT_EQ(BuiltInTranslations::fallback(Language::turkish), nullptr);
    EXPECT_TRUE(BuiltInTranslations::anyBuilt());
}

}  // namespace
}  // namespace tallowmere
