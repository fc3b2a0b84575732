#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "localization/interface_language.h"
#include "localization/product_identity.h"
#include "localization/translation_table.h"
#include "platform/gfx/image.h"
#include "platform/gfx/recording_canvas.h"
#include "platform/system/locale.h"
#include "platform/system/user_defaults.h"
#include "support/fixture.h"

namespace tallowmere {
namespace {

using Language = InterfaceLanguage;

class InterfaceLanguageCurrentTest : public testing::TallowmereTest {
protected:
    platform::UserDefaults& defaults() { return platform::UserDefaults::standard(); }
    void setSystemLanguages(std::vector<std::string> languages) {
        platform::Locale::shared().setPreferredLanguages(std::move(languages));
    }
};

TEST_F(InterfaceLanguageCurrentTest, StoredChoiceWinsOnlyWhenItIsARawValue) {
    setSystemLanguages({"it-IT", "de-AT"});  // the system's answer: German
    struct Case {
        std::optional<std::string> stored;
        Language expected;
    } cases[] = {
        {std::nullopt, Language::german},
        {"zh-Hant-TW", Language::traditionalChineseTaiwan},
        {"yue", Language::cantonese},
        {"zh-Hans-JD", Language::shandongFish},
        {"zh-hant-tw", Language::german},
        {"", Language::german},
        {"english", Language::german},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored.value_or("(nothing stored)"));
        if (c.stored) {
            defaults().set("interfaceLanguage", *c.stored);
        } else {
            defaults().removeObject("interfaceLanguage");
        }
        EXPECT_EQ(Language::current(), c.expected);
        // An unrecognised value is left stored as it was.
        EXPECT_EQ(defaults().string("interfaceLanguage"), c.stored);
    }
}

TEST_F(InterfaceLanguageCurrentTest, SetCurrentStoresTheRawValueAndLookupsFollowAtOnce) {
    Language::setCurrent(Language::english);
    EXPECT_EQ(defaults().string("interfaceLanguage"), "en");
    EXPECT_EQ(L("窗口手势控制"), "Window Controls");

    Language::setCurrent(Language::shandongChicken);
    EXPECT_EQ(defaults().string("interfaceLanguage"), "zh-Hans-SD");
    EXPECT_EQ(L("窗口手势控制"), "窗口咋整");
}

TEST_F(InterfaceLanguageCurrentTest, EveryChangeIsSeenByTheNextLookupOnAnyThread) {
    Language::setCurrent(Language::english);
    ASSERT_EQ(L("窗口手势控制"), "Window Controls");

    // A thread that has looked up before, so it holds an answer to go stale.
    std::promise<std::string> firstOnOtherThread;
    std::promise<void> changedHere;
    std::string afterChangeOnOtherThread;
    std::thread other([&] {
        firstOnOtherThread.set_value(L("窗口手势控制").str());
        changedHere.get_future().wait();
        afterChangeOnOtherThread = L("窗口手势控制").str();
        Language::setCurrent(Language::shandongChicken);
    });
    EXPECT_EQ(firstOnOtherThread.get_future().get(), "Window Controls");
    Language::setCurrent(Language::japanese);
    changedHere.set_value();
    other.join();
    EXPECT_EQ(afterChangeOnOtherThread, "ウインドウジェスチャー");
    EXPECT_EQ(L("窗口手势控制"), "窗口咋整");  // chosen on the other thread

    // With no stored choice, the system's list and registered defaults count as soon as they change.
    defaults().removeObject("interfaceLanguage");
    setSystemLanguages({"fr-FR"});
    EXPECT_EQ(Language::current(), Language::french);
    setSystemLanguages({"de-AT"});
    EXPECT_EQ(Language::current(), Language::german);
    defaults().registerDefaults({{"interfaceLanguage", "ko"}});
    EXPECT_EQ(Language::current(), Language::korean);
}

TEST_F(InterfaceLanguageCurrentTest, SystemPreferredReadsThePlatformLanguageList) {
    setSystemLanguages({"zh-Hant-MO", "en-US"});
    EXPECT_EQ(Language::systemPreferred(), Language::traditionalChineseHongKong);
    EXPECT_EQ(Language::current(), Language::traditionalChineseHongKong);
    setSystemLanguages({});
    EXPECT_EQ(Language::systemPreferred(), Language::english);
}

TEST_F(InterfaceLanguageCurrentTest, SimplifiedChineseProcessNeverBuildsATable) {
    if (BuiltInTranslations::anyBuilt()) GTEST_SKIP() << "an earlier test in this process built the tables";
    Language::setCurrent(Language::simplifiedChinese);
    EXPECT_EQ(L("窗口手势控制"), "窗口手势控制");
    EXPECT_EQ(L("Selvane 操作：复制"), "Selvane 操作：复制");
    EXPECT_EQ(L("谁也不认识的键"), "谁也不认识的键");
    EXPECT_FALSE(BuiltInTranslations::anyBuilt());
}

TEST_F(InterfaceLanguageCurrentTest, ProductNamesFollowTheChineseReadingLanguages) {
    for (Language language : Language::allCases()) {
        SCOPED_TRACE(language.caseName());
        Language::setCurrent(language);
        const bool chinese = language == Language::simplifiedChinese ||
                             language == Language::traditionalChineseTaiwan ||
                             language == Language::traditionalChineseHongKong ||
                             language == Language::shandongChicken || language == Language::shandongFish ||
                             language == Language::cantonese;
        EXPECT_EQ(ProductIdentity::usesChineseDisplayName(), chinese);
        EXPECT_EQ(ProductIdentity::localizedName(), chinese ? "塔洛梅百宝箱" : "Tallowmere Sparkwell");
        EXPECT_EQ(ProductIdentity::localizedMainWindowName(), ProductIdentity::localizedName());
        EXPECT_EQ(ProductIdentity::localizedBrand("菜单栏网页", "Menu Bar Browser"),
                  chinese ? "菜单栏网页" : "Menu Bar Browser");
    }
    EXPECT_EQ(ProductIdentity::mainWindowDisplayName, ProductIdentity::displayName);
}

TEST_F(InterfaceLanguageCurrentTest, FlagImageDrawsTheFlagInTheSystemFont) {
    const platform::Image image = Language(Language::traditionalChineseHongKong).flagImage();
    EXPECT_EQ(image.size(), (platform::Size{22, 16}));
    ASSERT_NE(image.drawHandler(), nullptr);
    platform::RecordingCanvas canvas({22, 16});
    ASSERT_TRUE((*image.drawHandler())(canvas, {0, 0, 22, 16}));

    const auto texts = canvas.operationsOf<platform::RecordingCanvas::TextOp>();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].origin, (platform::Point{0, -2}));
    EXPECT_EQ(canvas.drawnTexts(), std::vector<std::string>{"\U0001F1ED\U0001F1F0"});
    EXPECT_EQ(texts[0].text.attributesAt(0).font, platform::Font::systemFont(15));
}

}  // namespace
}  // namespace tallowmere
