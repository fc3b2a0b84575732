#include "localization/taiwan_traditional_typography.h"

#include <gtest/gtest.h>

#include <cmath>

#include "localization/interface_language.h"
#include "platform/gfx/font_library.h"
#include "platform/system/locale.h"
#include "platform/system/user_defaults.h"
#include "support/fixture.h"

namespace tallowmere {
namespace {

using platform::Font;
using platform::FontWeight;

// A system that has the Taiwanese Kaiti, as a Mac does.
class TaiwanTraditionalTypographyTest : public testing::TallowmereTest {
protected:
    void SetUp() override {
        platform::FontLibrary::shared().addTypeface({"KaitiTC-Bold", "Kaiti TC", FontWeight::bold});
        platform::FontLibrary::shared().addTypeface({"KaitiTC-Regular", "Kaiti TC", FontWeight::regular});
    }
    // The situation at start-up, then the first lookup of the process.
    void startWith(std::optional<std::string> stored, std::vector<std::string> systemLanguages) {
        // Contexts made in one test share the preferences file of its HOME.
        if (stored) {
            platform::UserDefaults::standard().set("interfaceLanguage", *stored);
        } else {
            platform::UserDefaults::standard().removeObject("interfaceLanguage");
        }
        platform::Locale::shared().setPreferredLanguages(std::move(systemLanguages));
        InterfaceLanguage::current();
    }
    bool systemFontIsKaiti() { return Font::systemFont(13).familyName() == "Kaiti TC"; }
};

TEST_F(TaiwanTraditionalTypographyTest, InstalledOnlyForTaiwaneseChinese) {
    struct Case {
        const char* name;
        std::optional<std::string> stored;
        std::vector<std::string> systemLanguages;
        bool installed;
    } cases[] = {
        {"stored Taiwan, English system", "zh-Hant-TW", {"en-US"}, true},
        {"nothing stored, Taiwan system", std::nullopt, {"zh-TW"}, true},
        {"nothing stored, first match Taiwan", std::nullopt, {"it", "zh-Hant-TW", "en"}, true},
        {"stored Hong Kong, Taiwan system", "zh-Hant-HK", {"zh-Hant-TW"}, false},
        {"stored garbage, Taiwan system", "taiwan", {"zh-Hant-TW"}, false},
        {"nothing stored, plain traditional", std::nullopt, {"zh-Hant"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform::AppContext context({.deterministic = true});  // a fresh start
        SetUp();
        startWith(c.stored, c.systemLanguages);
        EXPECT_EQ(systemFontIsKaiti(), c.installed);
        EXPECT_EQ(Font::menuFont(13).familyName() == "Kaiti TC", c.installed);
    }
}

TEST_F(TaiwanTraditionalTypographyTest, DecidedOnceAtTheFirstLookup) {
    startWith(std::nullopt, {"en-US"});
    InterfaceLanguage::setCurrent(InterfaceLanguage::traditionalChineseTaiwan);
    InterfaceLanguage::current();
    EXPECT_FALSE(systemFontIsKaiti()) << "a later change takes effect at the next start";
}

TEST_F(TaiwanTraditionalTypographyTest, SmallSizesGrowByOnePointAndWeightIsIgnored) {
    startWith("zh-Hant-TW", {"en-US"});
    struct Case {
        double requested;
        double expected;
    } cases[] = {{12, 13}, {13, 14}, {14, 14}, {20, 20}, {0, Font::systemFontSize + 1}, {-3, Font::systemFontSize + 1},
                   {std::nan(""), Font::systemFontSize + 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.requested);
        const Font font = Font::systemFont(c.requested);
        EXPECT_EQ(font.name(), "KaitiTC-Bold");
        EXPECT_EQ(font.pointSize(), c.expected);
    }
    EXPECT_EQ(Font::systemFont(14, FontWeight::bold), Font::systemFont(14, FontWeight::regular));
    EXPECT_EQ(Font::menuFont(12).pointSize(), 13);
}

TEST_F(TaiwanTraditionalTypographyTest, WithoutKaitiThePlatformFontStays) {
    platform::FontLibrary::shared().removeTypeface("KaitiTC-Bold");
    platform::FontLibrary::shared().removeTypeface("KaitiTC-Regular");
    const Font platformFont = Font::platformSystemFont(12, FontWeight::regular);
    EXPECT_EQ(TaiwanTraditionalTypography::font(12, FontWeight::regular, platformFont), platformFont);
    startWith("zh-Hant-TW", {"en-US"});
    EXPECT_EQ(Font::systemFont(12), platformFont);
}

}  // namespace
}  // namespace tallowmere
