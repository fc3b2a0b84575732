#include "selection/selvane_preferences.h"

#include <gtest/gtest.h>

#include "localization/interface_language.h"
#include "platform/system/user_defaults.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere {
namespace {

using platform::PropertyValue;
using Actions = std::vector<SelvaneAction>;
using Tools = std::vector<SelvaneTool>;

PropertyValue strings(std::initializer_list<const char*> texts) {
    PropertyValue::Array array;
    for (const char* text : texts) array.emplace_back(text);
    return PropertyValue(array);
}

class SelvanePreferencesTest : public testing::SimulatedDesktopTest {
protected:
    platform::UserDefaults& defaults() { return platform::UserDefaults::standard(); }
};

TEST_F(SelvanePreferencesTest, StoredListsAreFilteredInCaseOrder) {
    const Actions allActions(allSelvaneActions.begin(), allSelvaneActions.end());
    struct Case {
        const char* name;
        std::optional<PropertyValue> stored;
        Actions actions;
        Tools tools;
    } cases[] = {
        {"nothing stored", std::nullopt, allActions, {SelvaneTool::colorPicker, SelvaneTool::screenRuler}},
        {"order and duplicates do not matter", strings({"translate", "cut", "cut", "fontInfo", "colorPicker"}),
         {SelvaneAction::cut, SelvaneAction::translate}, {SelvaneTool::colorPicker, SelvaneTool::fontInfo}},
        {"empty list", strings({}), {SelvaneAction::copy}, {}},
        {"only unknown texts, compared exactly", strings({"Copy", "ruler"}), {SelvaneAction::copy}, {}},
        {"another type counts as absent", PropertyValue("cut"), allActions,
         {SelvaneTool::colorPicker, SelvaneTool::screenRuler}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.stored) {
            defaults().set(SelvanePreferences::enabledActionsKey, *c.stored);
            defaults().set(SelvanePreferences::enabledToolsKey, *c.stored);
        } else {
            defaults().removeObject(SelvanePreferences::enabledActionsKey);
            defaults().removeObject(SelvanePreferences::enabledToolsKey);
        }
        EXPECT_EQ(SelvanePreferences::enabledActions(), c.actions);
        EXPECT_EQ(SelvanePreferences::enabledTools(), c.tools);
        if (c.stored) {
            EXPECT_EQ(defaults().object(SelvanePreferences::enabledActionsKey), *c.stored) << "a read rewrites nothing";
        }
    }
}

TEST_F(SelvanePreferencesTest, TheLegacySwitchCountsOnlyWhileTheCurrentKeyIsAbsent) {
    EXPECT_FALSE(SelvanePreferences::isEnabled()) << "off on a fresh installation";
    defaults().set(SelvanePreferences::legacyEnabledKey, true);
    EXPECT_TRUE(SelvanePreferences::isEnabled());
    defaults().set(SelvanePreferences::enabledKey, false);
    EXPECT_FALSE(SelvanePreferences::isEnabled());
}

TEST_F(SelvanePreferencesTest, TitlesFollowTheInterfaceLanguage) {
    struct Case {
        InterfaceLanguage language;
        std::string copy;
        std::string_view ruler;
    } cases[] = {
        {InterfaceLanguage::simplifiedChinese, "复制", "测量标尺"},
        {InterfaceLanguage::english, "Copy", "Screen Ruler"},
        {InterfaceLanguage::traditionalChineseTaiwan, "複製", "测量标尺"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.language.rawValue()));
        InterfaceLanguage::setCurrent(c.language);
        EXPECT_EQ(title(SelvaneAction::copy), c.copy);
        EXPECT_NE(title(SelvaneAction::copy), "Selvane 操作：复制") << "every language shows a short label";
        EXPECT_EQ(title(SelvaneTool::screenRuler), c.ruler);
    }
    for (auto action : allSelvaneActions) EXPECT_EQ(selvaneActionFromRawValue(rawValue(action)), action);
    for (auto tool : allSelvaneTools) EXPECT_EQ(selvaneToolFromRawValue(rawValue(tool)), tool);
    EXPECT_EQ(selvaneToolFromRawValue("FontInfo"), std::nullopt);
}

}  // namespace
}  // namespace tallowmere
