#include "platform/gfx/font.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/gfx/font_library.h"
#include "support/fixture.h"

namespace tallowmere::platform {
namespace {

using FontTest = testing::TallowmereTest;

TEST_F(FontTest, SystemFontsReadBackWhatWasAskedFor) {
    const Font font = Font::systemFont(15, FontWeight::medium);
    EXPECT_TRUE(font.isSystemFont());
    EXPECT_EQ(font.pointSize(), 15);
    EXPECT_EQ(font.weight(), FontWeight::medium);
    EXPECT_FALSE(font.isBold());
    EXPECT_TRUE(Font::boldSystemFont(10).isBold());
    EXPECT_TRUE(Font::monospacedDigitSystemFont(13, FontWeight::semibold).isMonospacedDigit());
    EXPECT_FALSE(Font::monospacedDigitSystemFont(13).isFixedPitch());
    EXPECT_TRUE(Font::monospacedSystemFont(13).isFixedPitch());
    EXPECT_TRUE(font.italic().isItalic());
    EXPECT_EQ(font.withSize(20).pointSize(), 20);
    EXPECT_EQ(font.description(), ".SystemUIFont 15 medium");
}

TEST_F(FontTest, UnusableSizesMeanTheStandardSize) {
    for (double size : {0.0, -3.0, double(NAN), double(INFINITY)}) {
        SCOPED_TRACE(size);
        EXPECT_EQ(Font::systemFont(size).pointSize(), Font::systemFontSize);
        EXPECT_EQ(Font::menuFont(size).pointSize(), 14);
        EXPECT_EQ(Font::systemFont(12).withSize(size).pointSize(), 12);
    }
}

TEST_F(FontTest, WeightNamesAndCssWeights) {
    struct Case {
        FontWeight weight;
        const char* name;
        int css;
        double trait;
    } cases[] = {
        {FontWeight::ultraLight, "ultraLight", 100, -0.8}, {FontWeight::regular, "regular", 400, 0},
        {FontWeight::semibold, "semibold", 600, 0.3},      {FontWeight::black, "black", 900, 0.62},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(rawValue(c.weight), c.name);
        EXPECT_EQ(fontWeightFromRawValue(c.name), c.weight);
        EXPECT_EQ(cssWeight(c.weight), c.css);
        EXPECT_EQ(fontWeightFromCss(c.css), c.weight);
        EXPECT_EQ(weightTrait(c.weight), c.trait);
    }
    // Traits rise with the weight, so thresholds on them keep the order.
    for (std::size_t i = 1; i < allFontWeights.size(); ++i)
        EXPECT_LT(weightTrait(allFontWeights[i - 1]), weightTrait(allFontWeights[i]));
    EXPECT_EQ(fontWeightFromRawValue("Bold"), std::nullopt);
    EXPECT_EQ(fontWeightFromCss(450), FontWeight::medium);
    EXPECT_EQ(fontWeightFromCss(449), FontWeight::regular);
    EXPECT_EQ(fontWeightFromCss(NAN), FontWeight::ultraLight);
    EXPECT_EQ(fontWeightFromCss(5000), FontWeight::black);
}

TEST_F(FontTest, NamedFontsExistOnlyWhenTheSystemHasThem) {
    const auto kaiti = Font::named("Kaiti SC", 16);
    ASSERT_TRUE(kaiti);
    EXPECT_EQ(kaiti->name(), "STKaiti") << "a family name gives its regular face";
    EXPECT_EQ(kaiti->bold().name(), "STKaitiSC-Bold");
    EXPECT_FALSE(Font::named("Kaiti TC Bold", 16));
    EXPECT_EQ(Font::named("Kaiti TC Bold", 16, Font::systemFont(16)), Font::systemFont(16));

    auto& library = FontLibrary::shared();
    library.addTypeface({"KaitiTC-Bold", "Kaiti TC", FontWeight::bold});
    EXPECT_EQ(Font::named("Kaiti TC", 16)->name(), "KaitiTC-Bold");
    library.removeTypeface("KaitiTC-Bold");
    EXPECT_FALSE(Font::named("Kaiti TC", 16));

    const auto families = library.familyNames();
    EXPECT_TRUE(std::is_sorted(families.begin(), families.end()));
    EXPECT_EQ(std::count(families.begin(), families.end(), "Kaiti SC"), 1);
}

TEST_F(FontTest, AReplacementAnswersSystemAndMenuFontsButNotNamedOnes) {
    std::vector<std::optional<FontWeight>> weights;
    FontLibrary::shared().setSystemFontReplacement(
        [&](double size, std::optional<FontWeight> weight, const Font& fallback) {
            weights.push_back(weight);
            EXPECT_TRUE(fallback.isSystemFont());
            return Font::named("Kaiti SC", size > 0 ? size + 1 : fallback.pointSize() + 1).value();
        });
    EXPECT_EQ(Font::systemFont(12, FontWeight::bold).name(), "STKaiti");
    EXPECT_EQ(Font::systemFont(12).pointSize(), 13);
    EXPECT_EQ(Font::menuFont().pointSize(), 15) << "size 0 asks for the fallback menu font size, 14";
    EXPECT_EQ(weights, (std::vector<std::optional<FontWeight>>{FontWeight::bold, FontWeight::regular, std::nullopt}));
    EXPECT_EQ(Font::named("Helvetica", 12)->name(), "Helvetica");
    EXPECT_TRUE(Font::boldSystemFont(12).isSystemFont()) << "only the system and menu font requests are replaced";

    FontLibrary::shared().setSystemFontReplacement({});
    EXPECT_TRUE(Font::systemFont(12).isSystemFont());
}

}  // namespace
}  // namespace tallowmere::platform
