#include "localization/text_lookup.h"

#include <gtest/gtest.h>

#include <map>

#include "localization/complete_localization.h"

namespace tallowmere {
namespace {

// Small layers, so each step of the lookup can be seen on its own; they count
// how often the lookup reaches for a table.
struct FixtureLayers {
    TranslationTable table = TranslationTable::parse(R"([
      {"key": "窗口手势控制", "english": "Window Controls", "japanese": "ウインドウジェスチャー"},
      {"key": "向上滑", "english": "Swipe up", "cantonese": "向上扫"},
      {"key": "仅此处", "english": "Only here", "japanese": "ここだけ"}
    ])");
    std::map<InterfaceLanguage::Value, FallbackTable> fallbacks{
        {InterfaceLanguage::ukrainian, FallbackTable::parse(R"({"窗口手势控制": "Керування жестами вікон"})")},
        {InterfaceLanguage::cantonese, FallbackTable::parse(R"({"向上滑": "向上扫就去", "窗口手势控制": "视窗手势控制"})")},
    };
    CompleteLocalization::Catalog catalog = CompleteLocalization::Catalog::parse(R"({
      "keys": ["窗口手势控制", "关于"],
      "translations": {
        "japanese": ["ウィンドウジェスチャーコントロール", "概要"],
        "ukrainian": ["Керування жестами вікна", "Про програму"],
        "turkish": ["Pencere Hareket Kontrolü", "Hakkında"],
        "french": ["Gestes", "À propos"]
      }
    })");
    mutable int reached = 0;

    const TranslationTable& translations() const {
        ++reached;
        return table;
    }
    const FallbackTable* fallback(InterfaceLanguage language) const {
        ++reached;
        auto found = fallbacks.find(language);
        return found == fallbacks.end() ? nullptr : &found->second;
    }
    std::optional<std::string_view> catalogText(std::string_view key, InterfaceLanguage language) const {
        ++reached;
        return catalog.text(key, language.caseName());
    }
};

TEST(TextLookupTest, LayersAnswerInTheirOrder) {
    const FixtureLayers layers;
    struct Case {
        const char* key;
        InterfaceLanguage language;
        const char* expected;
    } cases[] = {
        // Built-in text first, even where the catalogue has its own.
        {"窗口手势控制", InterfaceLanguage::japanese, "ウインドウジェスチャー"},
        // The fallback table before the catalogue.
        {"窗口手势控制", InterfaceLanguage::ukrainian, "Керування жестами вікон"},
        {"窗口手势控制", InterfaceLanguage::cantonese, "视窗手势控制"},
        // The built-in text wins over the fallback table.
        {"向上滑", InterfaceLanguage::cantonese, "向上扫"},
        // No built-in text and no fallback table: the catalogue.
        {"窗口手势控制", InterfaceLanguage::turkish, "Pencere Hareket Kontrolü"},
        {"关于", InterfaceLanguage::french, "À propos"},
        // Neither has the language: the built-in English text.
        {"窗口手势控制", InterfaceLanguage::korean, "Window Controls"},
        {"仅此处", InterfaceLanguage::french, "Only here"},
        // Nobody knows the key: the key itself.
        {"关于", InterfaceLanguage::korean, "关于"},
        {"未知", InterfaceLanguage::english, "未知"},
        // Keys match exactly: a trailing space or another colon is another key.
        {"窗口手势控制 ", InterfaceLanguage::english, "窗口手势控制 "},
        {"", InterfaceLanguage::english, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + " in " + std::string(c.language.caseName()));
        EXPECT_EQ(lookUpText(c.key, c.language, layers), c.expected);
    }
}

TEST(TextLookupTest, SimplifiedChineseAnswersTheKeyWithoutTouchingATable) {
    const FixtureLayers layers;
    EXPECT_EQ(lookUpText("窗口手势控制", InterfaceLanguage::simplifiedChinese, layers), "窗口手势控制");
    EXPECT_EQ(lookUpText("未知", InterfaceLanguage::simplifiedChinese, layers), "未知");
    EXPECT_EQ(layers.reached, 0);
}

TEST(TextLookupTest, PluralFormsFallBackToOtherAndBadFormsAreReported) {
    std::vector<std::string> problems;
    const PluralTable table = PluralTable::parse(R"([
        {"key": "%d 个", "english": {"one": "%d item", "other": "%d items"},
         "french": {"one": "%d élément", "plenty": "%d éléments"},
         "german": {"one": "", "other": "%d Elemente"}}
    ])", &problems);
    EXPECT_EQ(problems.size(), 3u) << "the unknown category, the missing other form and the empty text";
    EXPECT_EQ(table.text("%d 个", InterfaceLanguage::english, "one"), "%d item");
    EXPECT_EQ(table.text("%d 个", InterfaceLanguage::english, "few"), "%d items");
    EXPECT_EQ(table.text("%d 个", InterfaceLanguage::french, "one"), std::nullopt);
    EXPECT_EQ(table.text("%d 个", InterfaceLanguage::german, "one"), "%d Elemente");
    EXPECT_EQ(table.text("%d 个", InterfaceLanguage::japanese, "other"), std::nullopt);
    EXPECT_EQ(table.text("其他", InterfaceLanguage::english, "other"), std::nullopt);
}

}  // namespace
}  // namespace tallowmere
