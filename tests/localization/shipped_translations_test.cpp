// The shipped translations as a user meets them: which text each language
// shows for the telling keys, through every layer of the lookup.
#include <gtest/gtest.h>

#include "localization/interface_language.h"

namespace tallowmere {
namespace {

using Language = InterfaceLanguage;

struct Case {
    Language language;
    std::string_view expected;
};

void expectTexts(std::string_view key, std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(key) + " in " + std::string(c.language.caseName()));
        EXPECT_EQ(InterfaceLanguage::text(key, c.language), c.expected);
    }
}

TEST(ShippedTranslationsTest, WindowControlsInEveryLayer) {
    expectTexts("窗口手势控制", {
        {Language::simplifiedChinese, "窗口手势控制"},
        {Language::english, "Window Controls"},
        // The built-in text, not the catalogue's "ウィンドウジェスチャーコントロール".
        {Language::japanese, "ウインドウジェスチャー"},
        // No built-in text and no fallback table: the catalogue.
        {Language::turkish, "Pencere Hareket Kontrolü"},
        // The fallback table, not the catalogue's "Керування жестами вікна".
        {Language::ukrainian, "Керування жестами вікон"},
        {Language::shandongChicken, "窗口咋整"},
        {Language::shandongFish, "窗口咋摆治"},
        {Language::cantonese, "视窗手势控制"},
    });
}

TEST(ShippedTranslationsTest, TellingRowsOfTheBuiltInTable) {
    expectTexts("开启一个番茄闹钟", {
        {Language::english, "Start a Pomodoro Timer"},
        {Language::ukrainian, "Запустити таймер Pomodoro"},
        {Language::shandongChicken, "开个番茄闹钟"},
        {Language::shandongFish, "开一个番茄闹钟"},
        // The built-in text wins over the fallback table's.
        {Language::cantonese, "开个番茄钟"},
    });
    // The context prefix is never repeated in a translation.
    expectTexts("Selvane 操作：复制", {
        {Language::english, "Copy"},
        {Language::japanese, "コピー"},
        {Language::shandongChicken, "复制"},
    });
    expectTexts("30 分钟", {
        {Language::english, "30 minutes"},
        {Language::japanese, "30分"},
        {Language::korean, "30분"},
        {Language::arabic, "30 دقيقة"},
        // No built-in text in these, nor a fallback entry: the catalogue answers.
        {Language::ukrainian, "30 хвилин"},
        {Language::shandongFish, "30 分钟"},
        {Language::cantonese, "30 分鐘"},
    });
    expectTexts("向上滑进入上半屏，持续向上滑动可最大化", {
        {Language::english, "Swipe up for the upper half; keep swiping up to maximize."},
        {Language::shandongChicken, "往上划拉一下就是上半屏，使劲往上划就整成全屏。"},
        {Language::shandongFish, "往上划拉到上半屏，一直往上顶就能满屏。"},
        {Language::cantonese, "向上扫一下就系上半屏，继续向上扫就会全屏。"},
    });
}

TEST(ShippedTranslationsTest, KeysMatchExactly) {
    // A trailing space or an ASCII colon makes another key, which nobody knows.
    expectTexts("窗口手势控制 ", {{Language::english, "窗口手势控制 "}});
    expectTexts("Selvane 操作:复制", {{Language::english, "Selvane 操作:复制"}});
    expectTexts("", {{Language::french, ""}});
}

}  // namespace
}  // namespace tallowmere
