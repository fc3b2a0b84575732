#include "menubar/default_input_source_controller.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "localization/interface_language.h"
#include "platform/desktop/desktop.h"
#include "platform/gfx/pango_text_measurer.h"
#include "platform/system/system_log.h"
#include "platform/system/user_defaults.h"
#include "platform/ui/menu.h"
#include "platform/ui/menu_item.h"
#include "platform/ui/screen_snapshot.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere::testing {
namespace {

using platform::KeyboardInputSource;
using platform::MenuItemState;

class DefaultInputSourceTest : public DesktopTest {
protected:
    DefaultInputSourceTest() {
        InterfaceLanguage::setCurrent(InterfaceLanguage::simplifiedChinese);
        auto& sources = desktop.inputSources();
        sources.removeAll();
        sources.add({"com.apple.keylayout.ABC", "ABC"});
        sources.add({"com.apple.inputmethod.SCIM.ITABC", "简体拼音"});
        sources.add({"com.apple.keylayout.German", "德语"});
        terminal = setup.addApplication({.bundleIdentifier = "com.apple.Terminal", .name = "Terminal"});
        editor = setup.addApplication({.bundleIdentifier = "com.apple.TextEdit", .name = "TextEdit"});
    }
    platform::UserDefaults& defaults() { return platform::UserDefaults::standard(); }
    void storeDefault(const std::string& id, const std::string& name) {
        defaults().set(DefaultInputSourceController::preferenceKey, platform::PropertyValue(id));
        defaults().set(DefaultInputSourceController::nameKey, platform::PropertyValue(name));
    }
    DefaultInputSourceController& controller() {
        if (!controller_) {
            controller_ = std::make_shared<DefaultInputSourceController>();
            controller_->start();
        }
        return *controller_;
    }
    const std::vector<std::string>& selections() { return desktop.inputSources().selections(); }
    std::vector<std::string> submenuTitles(platform::Menu& menu) {
        std::vector<std::string> titles;
        for (const auto& item : menu.items()) titles.push_back(item->isSeparatorItem() ? "—" : item->title());
        return titles;
    }

    std::shared_ptr<platform::SimulatedApplication> terminal;
    std::shared_ptr<platform::SimulatedApplication> editor;
    std::shared_ptr<DefaultInputSourceController> controller_;
};

TEST_F(DefaultInputSourceTest, RapidSwitchesSelectOnce0Point2SecondsAfterTheLast) {
    storeDefault("com.apple.inputmethod.SCIM.ITABC", "简体拼音");
    controller();
    advance(1);
    const auto atStart = selections().size();
    ASSERT_EQ(atStart, 1u) << "start re-selects once";
    desktop.activate(*terminal);
    advance(0.1);
    desktop.activate(*editor);
    advance(0.19);
    EXPECT_EQ(selections().size(), atStart) << "selected before 0.2 s had passed since the second switch";
    advance(0.02);
    EXPECT_EQ(selections().size(), atStart + 1);
    advance(1);
    EXPECT_EQ(selections().size(), atStart + 1) << "the first switch selected too";
    EXPECT_EQ(selections().back(), "com.apple.inputmethod.SCIM.ITABC");
}

TEST_F(DefaultInputSourceTest, AnApplicationThatLeftTheFrontInTimeGetsNothing) {
    storeDefault("com.apple.inputmethod.SCIM.ITABC", "简体拼音");
    controller();
    advance(1);
    const auto atStart = selections().size();
    desktop.activate(*terminal);
    advance(0.1);
    // Terminal quits: the application that comes forward gets the one
    // selection, Terminal's pending one is dropped.
    terminal->terminate();
    advance(1);
    EXPECT_EQ(selections().size(), atStart + 1);
}

TEST_F(DefaultInputSourceTest, FollowingTheSystemNeverSelects) {
    controller();
    desktop.activate(*terminal);
    desktop.activate(*editor);
    advance(1);
    EXPECT_TRUE(selections().empty());
    auto item = controller().makeMenuItem();
    EXPECT_EQ(item->title(), "默认输入法 · 跟随系统");
    EXPECT_EQ(item->submenu()->items().front()->state(), MenuItemState::on);
}

TEST_F(DefaultInputSourceTest, SourcesAreListedOnceEachByName) {
    auto& sources = desktop.inputSources();
    sources.add({"com.apple.keylayout.ABC", "ABC"});  // the system lists it twice
    sources.add({"com.example.zz", "ABC"});           // the same name
    sources.add({"com.example.aa", "ABC"});
    sources.add({"com.example.off", "Off", false});
    sources.add({"com.example.palette", "Palette", true, false});
    sources.add({"com.example.speech", "Speech", true, true, false});
    std::vector<std::string> ids;
    for (const auto& source : controller().enabledSources()) ids.push_back(source.id);
    const std::vector<std::string> expected{"com.apple.keylayout.ABC", "com.example.aa", "com.example.zz",
                                            "com.apple.keylayout.German", "com.apple.inputmethod.SCIM.ITABC"};
    EXPECT_EQ(ids, expected);
}

TEST_F(DefaultInputSourceTest, ADisabledStoredSourceIsNeverSelectedAndShownAsSuch) {
    storeDefault("com.apple.keylayout.German", "德语");
    desktop.inputSources().setEnabled("com.apple.keylayout.German", false);
    controller();
    desktop.activate(*terminal);
    advance(1);
    EXPECT_TRUE(selections().empty());
    auto item = controller().makeMenuItem();
    EXPECT_EQ(item->title(), "默认输入法 · 所选输入法未启用");
    const std::vector<std::string> expected{
        "跟随系统（不自动切换）", "—", "ABC", "简体拼音", "德语 · 已停用或不可用", "—",
        "启动和切换应用时自动使用", "手动切换保留至下次切换应用", "仅切换输入源；拼音或英文模式由输入法决定"};
    EXPECT_EQ(submenuTitles(*item->submenu()), expected);
    auto vanished = item->submenu()->items()[4];
    EXPECT_FALSE(vanished->isEnabled());
    EXPECT_EQ(vanished->state(), MenuItemState::on);
    EXPECT_EQ(item->submenu()->items().front()->state(), MenuItemState::off);
    EXPECT_EQ(defaults().string(DefaultInputSourceController::preferenceKey), "com.apple.keylayout.German")
        << "the choice is kept for when it comes back";
}

TEST_F(DefaultInputSourceTest, AChoiceIsStoredSelectedAndCheckedFollowingTheSystemForgetsIt) {
    auto item = controller().makeMenuItem();
    auto& submenu = *item->submenu();
    auto german = submenu.itemWithTitle("德语");
    ASSERT_TRUE(german);
    german->action(*german);
    EXPECT_EQ(defaults().string(DefaultInputSourceController::preferenceKey), "com.apple.keylayout.German");
    EXPECT_EQ(defaults().string(DefaultInputSourceController::nameKey), "德语");
    EXPECT_EQ(selections(), std::vector<std::string>{"com.apple.keylayout.German"});
    EXPECT_EQ(submenu.itemWithTitle("德语")->state(), MenuItemState::on);

    desktop.inputSources().select("com.apple.keylayout.ABC");  // the person switches by hand
    auto follow = submenu.itemWithTitle("跟随系统（不自动切换）");
    follow->action(*follow);
    EXPECT_FALSE(defaults().string(DefaultInputSourceController::preferenceKey));
    EXPECT_FALSE(defaults().string(DefaultInputSourceController::nameKey));
    EXPECT_EQ(desktop.inputSources().selectedID(), "com.apple.keylayout.ABC") << "following the system switches nothing back";
    advance(1);
    EXPECT_EQ(submenu.itemWithTitle("跟随系统（不自动切换）")->state(), MenuItemState::on);
}

TEST_F(DefaultInputSourceTest, AFailedChoiceShowsTheAlertAndStoresNothing) {
    auto item = controller().makeMenuItem();
    auto german = item->submenu()->itemWithTitle("德语");
    desktop.inputSources().setSelectionFailure(-50);
    german->action(*german);
    runUntilIdle();
    ASSERT_EQ(alerts.count(), 1u);
    EXPECT_EQ(alerts.last().messageText, "无法切换到该输入法");
    EXPECT_EQ(alerts.last().informativeText, "请确认该输入法仍已启用，且系统当前允许切换。原默认设置未更改。");
    EXPECT_EQ(alerts.last().buttons, std::vector<std::string>{"好"});
    EXPECT_FALSE(defaults().string(DefaultInputSourceController::preferenceKey));

    // An automatic selection that fails is only logged.
    desktop.inputSources().setSelectionFailure(std::nullopt);
    storeDefault("com.apple.keylayout.German", "德语");
    desktop.inputSources().setSelectionFailure(-25);
    desktop.activate(*terminal);
    advance(1);
    EXPECT_EQ(alerts.count(), 1u);
    const auto lines = platform::SystemLog::shared().lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Default input source selection failed: -25"), lines.end());
}

TEST_F(DefaultInputSourceTest, WritesAPictureOfTheSubmenu) {
    context().setShared<platform::TextMeasurer>(std::make_shared<platform::PangoTextMeasurer>());
    storeDefault("com.apple.inputmethod.SCIM.ITABC", "简体拼音");
    auto item = controller().makeMenuItem();
    item->submenu()->popUp(nullptr, platform::ScreenPoint{900, 860});
    const auto folder = std::filesystem::path(TALLOWMERE_BINARY_DIR) / "renderings";
    std::filesystem::create_directories(folder);
    ASSERT_TRUE(platform::ScreenSnapshot::writePng(folder / "input_source_submenu.png").ok());
    EXPECT_TRUE(menus.isOpen());
}

}  // namespace
}  // namespace tallowmere::testing
