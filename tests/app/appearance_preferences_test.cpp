#include "app/appearance_preferences.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/color_archive.h"
#include "app/status_bar_icon_preference.h"
#include "localization/interface_language.h"
#include "platform/base/property_list.h"
#include "platform/system/user_defaults.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere {
namespace {

using platform::Color;
using platform::PropertyValue;
namespace Appearance = AppearancePreferences;
namespace Icon = StatusBarIconPreference;

class AppearancePreferencesTest : public testing::DesktopTest {
protected:
    platform::UserDefaults& defaults() { return platform::UserDefaults::standard(); }
    void store(std::string_view key, std::optional<PropertyValue> value) {
        if (value) defaults().set(key, *value);
        else defaults().removeObject(key);
    }
};

TEST_F(AppearancePreferencesTest, StoredChoicesReadExactlyOrFallBack) {
    struct Case {
        const char* name;
        std::optional<PropertyValue> stored;
        Appearance::ThemeMode theme;
        Icon::Style style;
    } cases[] = {
        {"absent", std::nullopt, Appearance::ThemeMode::system, Icon::Style::color},
        {"empty", "", Appearance::ThemeMode::system, Icon::Style::color},
        {"wrong case", "Dark", Appearance::ThemeMode::system, Icon::Style::color},
        {"a number", 2, Appearance::ThemeMode::system, Icon::Style::color},
        {"dark", "dark", Appearance::ThemeMode::dark, Icon::Style::color},
        {"light", "light", Appearance::ThemeMode::light, Icon::Style::color},
        {"cartoon", "cartoon", Appearance::ThemeMode::system, Icon::Style::color},
        {"pixel", "pixel", Appearance::ThemeMode::system, Icon::Style::pixel},
        {"gentleInkpaw", "gentleInkpaw", Appearance::ThemeMode::system, Icon::Style::gentleInkpaw},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        store(Appearance::themeModeKey, c.stored);
        store(Icon::styleKey, c.stored);
        EXPECT_EQ(Appearance::themeMode(), c.theme);
        EXPECT_EQ(Icon::style(), c.style);
    }
    for (auto mode : Appearance::allThemeModes) EXPECT_EQ(Appearance::themeModeFromRawValue(rawValue(mode)), mode);
    for (auto style : Icon::allStyles) EXPECT_EQ(Icon::styleFromRawValue(rawValue(style)), style);
}

TEST_F(AppearancePreferencesTest, ApplyingTheThemeForcesOrClearsTheAppearance) {
    store(Appearance::themeModeKey, "dark");
    Appearance::applyTheme();
    EXPECT_EQ(application.appearance(), platform::Appearance::dark);

    store(Appearance::themeModeKey, "light");
    EXPECT_EQ(application.appearance(), platform::Appearance::dark) << "only applyTheme changes the look";
    Appearance::applyTheme();
    EXPECT_EQ(application.appearance(), platform::Appearance::light);

    store(Appearance::themeModeKey, std::nullopt);
    Appearance::applyTheme();
    EXPECT_EQ(application.appearance(), std::nullopt);
}

TEST_F(AppearancePreferencesTest, OutlineColourIsStoredInDeviceRGBAndAnythingElseReadsAsSystemBlue) {
    const Color systemBlue = Color::system(platform::SystemColor::blue);
    EXPECT_EQ(Appearance::outlineColor(), systemBlue);

    Appearance::setOutlineColor(Color::deviceRGB(0.2, 0.4, 0.6, 0.8));
    EXPECT_EQ(Appearance::outlineColor(), Color::deviceRGB(0.2, 0.4, 0.6, 0.8));

    Appearance::setOutlineColor(Color::calibratedWhite(0.5));
    EXPECT_EQ(Appearance::outlineColor().colorSpace(), platform::ColorSpace::deviceRGB);
    EXPECT_EQ(Appearance::outlineColor(), Color::calibratedWhite(0.5).usingColorSpace(platform::ColorSpace::deviceRGB));

    auto otherClass = platform::PropertyList::write(
        PropertyValue(PropertyValue::Dictionary{{"$class", "Font"},
                                                {"colorSpace", "deviceRGB"},
                                                {"components", PropertyValue::Array{0.1, 0.2, 0.3, 1.0}}}),
        platform::PropertyListFormat::binary);
    ASSERT_TRUE(otherClass.ok());
    struct Case {
        const char* name;
        PropertyValue stored;
    } cases[] = {
        {"a string", "#FF0000"},
        {"an archive of another class", *otherClass},
        {"bytes that are no archive", platform::Data{0x62, 0x70, 0x6c, 0x69, 0x73, 0x74}},
        {"an array", PropertyValue::Array{0.1, 0.2, 0.3, 1.0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        store(Appearance::outlineColorKey, c.stored);
        EXPECT_EQ(Appearance::outlineColor(), systemBlue);
    }
}

TEST_F(AppearancePreferencesTest, ColorArchiveRefusesWhatIsNotExactlyOneColour) {
    auto archived = [](PropertyValue::Dictionary root) {
        return ColorArchive::unarchive(*platform::PropertyList::write(PropertyValue(std::move(root))));
    };
    EXPECT_TRUE(archived({{"$class", "Color"}, {"colorSpace", "deviceWhite"}, {"components", PropertyValue::Array{0.5, 1.0}}}).ok());
    struct Case {
        const char* name;
        PropertyValue::Dictionary root;
    } cases[] = {
        {"unknown space", {{"$class", "Color"}, {"colorSpace", "pattern"}, {"components", PropertyValue::Array{0.5, 1.0}}}},
        {"too few components", {{"$class", "Color"}, {"colorSpace", "deviceRGB"}, {"components", PropertyValue::Array{0.5, 1.0}}}},
        {"a component that is text", {{"$class", "Color"}, {"colorSpace", "deviceWhite"}, {"components", PropertyValue::Array{"0.5", 1.0}}}},
        {"no class", {{"colorSpace", "deviceWhite"}, {"components", PropertyValue::Array{0.5, 1.0}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(archived(c.root).ok());
    }
    EXPECT_FALSE(ColorArchive::archive(Color::system(platform::SystemColor::red)).ok());
}

TEST_F(AppearancePreferencesTest, IconStyleTitlesFollowTheLanguage) {
    struct Case {
        InterfaceLanguage language;
        Icon::Style style;
        std::string expected;
    } cases[] = {
        {InterfaceLanguage::simplifiedChinese, Icon::Style::color, "水彩塔洛梅"},
        {InterfaceLanguage::simplifiedChinese, Icon::Style::pixel, "像素塔洛梅"},
        {InterfaceLanguage::simplifiedChinese, Icon::Style::cartoonInkpaw, "虎头虎脑墨爪"},
        {InterfaceLanguage::cantonese, Icon::Style::color, "水彩塔洛梅"},
        {InterfaceLanguage::traditionalChineseTaiwan, Icon::Style::outline,
         InterfaceLanguage::text("线框", InterfaceLanguage::traditionalChineseTaiwan) + "塔洛梅"},
        {InterfaceLanguage::english, Icon::Style::color, "Color Tallowmere"},
        {InterfaceLanguage::english, Icon::Style::outline, "Outline Tallowmere"},
        {InterfaceLanguage::english, Icon::Style::gentleInkpaw, "Gentle Inkpaw"},
        {InterfaceLanguage::japanese, Icon::Style::pixel, "ピクセル Tallowmere"},
        {InterfaceLanguage::japanese, Icon::Style::cartoonInkpaw, "Cartoon Inkpaw"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.language.rawValue()) + " " + std::string(rawValue(c.style)));
        InterfaceLanguage::setCurrent(c.language);
        EXPECT_EQ(Icon::title(c.style), c.expected);
    }
}

TEST_F(AppearancePreferencesTest, ChangingTheIconStyleStoresItBeforeTellingObservers) {
    std::vector<Icon::Style> seen;
    context().notificationCenter().addObserver(std::string(Icon::didChangeNotification), nullptr,
                                               [&](const platform::Notification& notification) {
                                                   EXPECT_EQ(notification.object, nullptr);
                                                   seen.push_back(Icon::style());
                                               });
    Icon::setStyle(Icon::Style::outline);
    Icon::setStyle(Icon::Style::gentleInkpaw);
    EXPECT_EQ(seen, (std::vector<Icon::Style>{Icon::Style::outline, Icon::Style::gentleInkpaw}));
    EXPECT_EQ(defaults().string(Icon::styleKey), "gentleInkpaw");
}

}  // namespace
}  // namespace tallowmere
