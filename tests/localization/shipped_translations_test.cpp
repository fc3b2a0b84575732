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

TEST(ShippedTranslationsTest, CountedTextsAgreeWithTheirCount) {
    struct CountCase {
        Language language;
        long long count;
        std::string_view expected;
    } cases[] = {
        {Language::simplifiedChinese, 1, "已恢复 %d 个窗口。"},
        {Language::english, 1, "Restored %d window."},
        {Language::english, 0, "Restored %d windows."},
        {Language::english, 21, "Restored %d windows."},
        {Language::french, 0, "%d fenêtre restaurée."},
        {Language::french, 2, "%d fenêtres restaurées."},
        {Language::russian, 21, "Восстановлено %d окно."},
        {Language::russian, 3, "Восстановлено %d окна."},
        {Language::russian, 11, "Восстановлено %d окон."},
        // The plural forms win over the language's fallback table.
        {Language::ukrainian, 2, "Відновлено %d вікна."},
        {Language::arabic, 2, "تمت استعادة نافذتين."},
        {Language::arabic, 100, "تمت استعادة %d نافذة."},
        // Languages whose nouns keep one form take the plain lookup.
        {Language::german, 1, "%d Fenster wiederhergestellt."},
        {Language::japanese, 1, "%d 個のウインドウを復元しました。"},
    };
    for (const CountCase& c : cases) {
        SCOPED_TRACE(std::string(c.language.caseName()) + " " + std::to_string(c.count));
        EXPECT_EQ(InterfaceLanguage::countedText("已恢复 %d 个窗口。", c.count, c.language), c.expected);
    }
    EXPECT_EQ(InterfaceLanguage::countedText("%@ · %d 个窗口", 1, Language::english), "%@ · %d window");
    // A key without plural forms is looked up as usual.
    EXPECT_EQ(InterfaceLanguage::countedText("窗口手势控制", 1, Language::english), "Window Controls");
}

}  // namespace
}  // namespace tallowmere
