#include "localization/interface_language.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace tallowmere {
namespace {

TEST(InterfaceLanguageTest, RawValuesRoundTripExactly) {
    ASSERT_EQ(InterfaceLanguage::allCases().size(), 17u);
    EXPECT_EQ(InterfaceLanguage::allCases()[16], InterfaceLanguage::cantonese);
    std::set<std::string_view> rawValues, caseNames;
    for (InterfaceLanguage language : InterfaceLanguage::allCases()) {
        SCOPED_TRACE(language.caseName());
        EXPECT_EQ(InterfaceLanguage::fromRawValue(language.rawValue()), language);
        EXPECT_EQ(InterfaceLanguage::fromCaseName(language.caseName()), language);
        rawValues.insert(language.rawValue());
        caseNames.insert(language.caseName());
    }
    EXPECT_EQ(rawValues.size(), 17u);
    EXPECT_EQ(caseNames.size(), 17u);

    // Exact and case-sensitive: no trimming, no folding.
    EXPECT_EQ(InterfaceLanguage::fromRawValue("zh-Hans-SD"), InterfaceLanguage::shandongChicken);
    EXPECT_EQ(InterfaceLanguage::fromRawValue("zh-Hans-JD"), InterfaceLanguage::shandongFish);
    EXPECT_EQ(InterfaceLanguage::fromRawValue("zh-hant-tw"), std::nullopt);
    EXPECT_EQ(InterfaceLanguage::fromRawValue(" en"), std::nullopt);
    EXPECT_EQ(InterfaceLanguage::fromRawValue(""), std::nullopt);
    // The catalogue's language names are case names, not raw values.
    EXPECT_EQ(InterfaceLanguage::fromCaseName("en"), std::nullopt);
}

TEST(InterfaceLanguageTest, FlagsAreRegionalIndicatorPairs) {
    const std::string china = "\U0001F1E8\U0001F1F3";
    struct Case {
        InterfaceLanguage language;
        std::string flag;
    } cases[] = {
        {InterfaceLanguage::simplifiedChinese, china},
        {InterfaceLanguage::traditionalChineseTaiwan, china},
        {InterfaceLanguage::traditionalChineseHongKong, "\U0001F1ED\U0001F1F0"},
        {InterfaceLanguage::english, "\U0001F1FA\U0001F1F8"},
        {InterfaceLanguage::arabic, "\U0001F1F8\U0001F1E6"},
        {InterfaceLanguage::ukrainian, "\U0001F1FA\U0001F1E6"},
        {InterfaceLanguage::shandongChicken, china},
        {InterfaceLanguage::shandongFish, china},
        {InterfaceLanguage::cantonese, china},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language.caseName());
        EXPECT_EQ(c.language.flag(), c.flag);
        EXPECT_EQ(c.language.flag().size(), 8u);
    }
    EXPECT_EQ(InterfaceLanguage(InterfaceLanguage::shandongChicken).title(), "山东方言（吃\U0001F414区）");
    EXPECT_EQ(InterfaceLanguage(InterfaceLanguage::shandongFish).title(), "山东方言（吃\U0001F41F区）");
}

TEST(InterfaceLanguageTest, PreferredLanguageFollowsThePrefixRulesInOrder) {
    struct Case {
        std::vector<std::string> identifiers;
        InterfaceLanguage expected;
    } cases[] = {
        {{"zh_TW"}, InterfaceLanguage::traditionalChineseTaiwan},
        {{"zh-Hant-TW"}, InterfaceLanguage::traditionalChineseTaiwan},
        {{"zh-Hant-HK"}, InterfaceLanguage::traditionalChineseHongKong},
        {{"zh-Hant-MO"}, InterfaceLanguage::traditionalChineseHongKong},
        {{"zh_MO"}, InterfaceLanguage::traditionalChineseHongKong},
        // Traditional Chinese without a region, or with another one, is Simplified here.
        {{"zh-Hant"}, InterfaceLanguage::simplifiedChinese},
        {{"zh-Hant-SG"}, InterfaceLanguage::simplifiedChinese},
        {{"zh-Hans-CN"}, InterfaceLanguage::simplifiedChinese},
        {{"yue-Hant-HK"}, InterfaceLanguage::cantonese},
        {{"zh-HK"}, InterfaceLanguage::traditionalChineseHongKong},
        {{"EN-gb"}, InterfaceLanguage::english},
        {{"ja-JP"}, InterfaceLanguage::japanese},
        {{"ko-KR"}, InterfaceLanguage::korean},
        {{"fr-CA"}, InterfaceLanguage::french},
        {{"de-CH"}, InterfaceLanguage::german},
        {{"es-419"}, InterfaceLanguage::spanish},
        {{"ru-RU"}, InterfaceLanguage::russian},
        {{"th-TH"}, InterfaceLanguage::thai},
        {{"tr-TR"}, InterfaceLanguage::turkish},
        {{"ar-SA"}, InterfaceLanguage::arabic},
        {{"uk-UA"}, InterfaceLanguage::ukrainian},
        // The first identifier that matches wins, not the first of the list.
        {{"it", "pt-BR", "de-AT", "fr"}, InterfaceLanguage::german},
        {{"it"}, InterfaceLanguage::english},
        {{}, InterfaceLanguage::english},
        // A plain prefix test: anything starting with the letters matches.
        {{"enx"}, InterfaceLanguage::english},
        {{"thai"}, InterfaceLanguage::thai},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.identifiers.empty() ? std::string("(empty)") : c.identifiers.front());
        EXPECT_EQ(InterfaceLanguage::preferred(c.identifiers), c.expected);
    }
}

}  // namespace
}  // namespace tallowmere
