#include "menubar/hidden_icons_controller.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/desktop/desktop.h"
#include "platform/desktop/screen.h"
#include "platform/desktop/system_settings_commands.h"
#include "platform/gfx/pango_text_measurer.h"
#include "platform/gfx/symbol_image.h"
#include "platform/system/command_table.h"
#include "platform/system/user_defaults.h"
#include "platform/ui/menu.h"
#include "platform/ui/popover.h"
#include "platform/ui/screen_snapshot.h"
#include "platform/ui/status_bar.h"
#include "platform/ui/status_bar_button.h"
#include "platform/ui/status_item.h"
#include "platform/ui/window.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere::testing {
namespace {

using platform::MenuItemState;
using platform::ScreenPoint;
using platform::ScreenRect;

// The menu bar as a person sets it up: two other applications' icons at
// the right, then the program's own icon, then (started) the arrow and the
// separator to its left.
class HiddenIconsTest : public DesktopTest {
protected:
    HiddenIconsTest() {
        cloud = area().addOtherItem({"com.example.cloud", "☁︎", 24});
        wifi = area().addOtherItem({"com.example.net", "Wi", 28});
        mainItem = platform::StatusBar::shared().statusItem(30);
        mainItem->setAutosaveName("Tallowmere.MainIndependent");
        mainItem->button()->setImage(platform::symbolImage("cat"));
    }
    platform::StatusArea& area() { return desktop.statusArea(); }
    HiddenIconsController& controller() {
        if (!controller_) {
            controller_ = HiddenIconsController::make();
            controller_->start(mainItem);
        }
        return *controller_;
    }
    platform::StatusItem& arrow() { return *controller().arrowItem(); }
    platform::StatusItem& separator() { return *controller().separatorItem(); }
    // A person drags an icon with Command held and lets it go at `x`.
    void commandDrag(ScreenPoint from, double x) {
        mouse.modifiers = platform::ModifierFlags{platform::ModifierFlags::command};
        mouse.drag(from, {x, from.y});
        mouse.modifiers = {};
    }
    void hideCloudBehindTheSeparator() {
        commandDrag(area().frameOf(cloud).center(), separator().frame().minX() - 5);
    }
    std::size_t beeps() {
        const auto& played = desktop.sounds().played();
        return static_cast<std::size_t>(std::count(played.begin(), played.end(), platform::SoundOutput::beepName));
    }

    int cloud = 0, wifi = 0;
    std::shared_ptr<platform::StatusItem> mainItem;
    std::shared_ptr<HiddenIconsController> controller_;
};

TEST_F(HiddenIconsTest, StartingPlacesTheArrowAndTheSeparatorLeftOfTheProgramsIcon) {
    controller();
    EXPECT_EQ(arrow().autosaveName(), HiddenIconsController::arrowAutosaveName);
    EXPECT_EQ(separator().autosaveName(), HiddenIconsController::separatorAutosaveName);
    EXPECT_DOUBLE_EQ(arrow().length(), 24);
    EXPECT_DOUBLE_EQ(separator().length(), 20);
    EXPECT_LT(arrow().frame().maxX(), mainItem->frame().minX() + 0.5);
    EXPECT_LT(separator().frame().maxX(), arrow().frame().minX() + 0.5);
    EXPECT_EQ(arrow().button()->toolTip(), "Hidden Icons");
    EXPECT_EQ(separator().button()->toolTip(), "Hidden Icons 分隔线");
    EXPECT_TRUE(controller().canSafelyCollapse());
}

TEST_F(HiddenIconsTest, CollapsingHidesOnlyTheIconsLeftOfTheSeparator) {
    controller();
    hideCloudBehindTheSeparator();
    ASSERT_LT(area().frameOf(cloud).maxX(), separator().frame().minX() + 0.5) << "the drag did not move the icon";
    const ScreenPoint cloudWasAt = area().frameOf(cloud).center();

    menuBar.click(arrow());
    EXPECT_TRUE(controller().isCollapsed());
    EXPECT_DOUBLE_EQ(separator().length(), 2880);
    EXPECT_TRUE(area().frameOf(cloud).isEmpty()) << "the hidden icon is still in the menu bar";
    // Where the icon was, the stretched separator takes the click.
    menuBar.clickAt(cloudWasAt);
    EXPECT_EQ(area().clickCount(cloud), 0) << "a hidden icon took a click";
    EXPECT_TRUE(menus.isOpen());
    menus.dismiss();
    EXPECT_FALSE(mainItem->frame().isEmpty());
    menuBar.clickAt(area().frameOf(wifi).center());
    EXPECT_EQ(area().clickCount(wifi), 1);

    menuBar.click(arrow());
    EXPECT_FALSE(controller().isCollapsed());
    EXPECT_DOUBLE_EQ(separator().length(), 20);
    EXPECT_FALSE(area().frameOf(cloud).isEmpty());
}

TEST_F(HiddenIconsTest, TheCollapsedLengthCoversTheWidestScreen) {
    struct Case {
        const char* name;
        std::vector<double> widths;
        double expected;
    };
    const Case cases[] = {
        {"1440 and 3840", {1440, 3840}, 7680},
        {"one 6000-point screen", {6000}, 10000},
        {"a 200-point screen", {200}, 500},
        {"no screen", {}, 2880},
    };
    controller();
    auto& screens = desktop.screens();
    const auto removeAll = [&] {
        const auto attached = screens.onlineDisplays();
        for (const auto& screen : attached) screens.removeScreen(screen);
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        removeAll();
        double x = 0;
        for (const double width : testCase.widths) {
            ASSERT_TRUE(screens.addScreen({.frame = {x, 0, width, 900}}));
            x += width;
        }
        EXPECT_DOUBLE_EQ(controller().collapsedLength(), testCase.expected);
    }
    // Collapsed, the separator follows a change of the screens.
    removeAll();
    ASSERT_TRUE(screens.addScreen({.frame = {0, 0, 1440, 900}}));
    menuBar.click(arrow());
    ASSERT_TRUE(controller().isCollapsed());
    ASSERT_TRUE(screens.addScreen({.frame = {1440, 0, 2560, 1440}}));
    EXPECT_DOUBLE_EQ(separator().length(), 5120);
}

TEST_F(HiddenIconsTest, TheWrongOrderBeepsWarnsAndNeverCollapses) {
    controller();
    // The separator dragged right of the program's own icon.
    commandDrag(separator().frame().center(), mainItem->frame().maxX() + 2);
    ASSERT_GT(separator().frame().midX(), mainItem->frame().midX());
    ASSERT_FALSE(controller().canSafelyCollapse());

    menuBar.click(arrow());
    EXPECT_FALSE(controller().isCollapsed());
    EXPECT_DOUBLE_EQ(separator().length(), 20);
    EXPECT_EQ(beeps(), 1u);
    auto popover = controller().safetyPopover();
    ASSERT_TRUE(popover && popover->isShown());
    EXPECT_EQ(popover->contentSize, (platform::Size{328, 86}));
    EXPECT_LT(popover->window()->frame().maxY(), arrow().frame().minY() + 0.5) << "the note is not under the arrow";
    EXPECT_NE(std::find(uiTrace().begin(), uiTrace().end(),
                        "popover shown \"顺序放反啦，请这样排列：\\n想隐藏的图标  |  <  🐱\\n按住 ⌘ 拖动，排好后再收起。\""),
              uiTrace().end());
    // The note goes at the next click elsewhere.
    menuBar.clickAt({700, 400});
    EXPECT_FALSE(popover->isShown());

    // Without the program's icon on screen there is no safe order either.
    mainItem->setVisible(false);
    commandDrag(separator().frame().center(), 10);
    EXPECT_FALSE(controller().canSafelyCollapse());
}

TEST_F(HiddenIconsTest, ARightClickOpensTheSettingsAndNeverCollapses) {
    controller();
    menuBar.rightClick(arrow());
    EXPECT_FALSE(controller().isCollapsed());
    ASSERT_TRUE(menus.isOpen());
    EXPECT_EQ(menus.openMenu()->title(), "Hidden Icons");
    EXPECT_EQ(menus.itemTitles(), (std::vector<std::string>{"启用 Hidden Icons", "收起隐藏图标", "—", "全局图标间距", "—",
                                                            "想隐藏的图标  |  <  🐱（按住 ⌘ 拖动）"}));
    // The preference absent counts as enabled.
    EXPECT_EQ(menus.find("启用 Hidden Icons")->state(), MenuItemState::on);
    auto spacing = menus.find("全局图标间距")->submenu();
    ASSERT_TRUE(spacing);
    EXPECT_EQ(spacing->item(3)->title(), "系统默认");
    EXPECT_EQ(spacing->item(3)->state(), MenuItemState::on);
    EXPECT_FALSE(spacing->item(5)->isEnabled());
    menus.dismiss();

    // A left click on the separator opens it too.
    menuBar.click(separator());
    EXPECT_TRUE(menus.isOpen());
}

TEST_F(HiddenIconsTest, DisablingRemovesBothItemsEnablingBringsThemBackExpanded) {
    controller();
    hideCloudBehindTheSeparator();
    menuBar.click(arrow());
    ASSERT_TRUE(controller().isCollapsed());

    auto menu = controller().makeSettingsMenu();
    EXPECT_EQ(menu->item(1)->title(), "展开隐藏图标");
    ASSERT_TRUE(menu->performActionForItem(0));
    EXPECT_EQ(platform::UserDefaults::standard().storedBoolean(HiddenIconsController::enabledKey), false);
    EXPECT_FALSE(controller().arrowItem());
    EXPECT_FALSE(controller().separatorItem());
    EXPECT_FALSE(controller().isCollapsed());
    EXPECT_FALSE(area().frameOf(cloud).isEmpty()) << "the icons stayed hidden";
    menu = controller().makeSettingsMenu();
    EXPECT_EQ(menu->item(0)->state(), MenuItemState::off);
    EXPECT_FALSE(menu->item(1)->isEnabled());
    EXPECT_FALSE(menu->item(3)->isEnabled());
    controller().toggleCollapsed();
    controller().expand();
    EXPECT_FALSE(controller().arrowItem()) << "a disabled feature came back";

    ASSERT_TRUE(menu->performActionForItem(0));
    ASSERT_TRUE(controller().arrowItem());
    EXPECT_FALSE(controller().isCollapsed());
    EXPECT_DOUBLE_EQ(separator().length(), 20);
}

TEST_F(HiddenIconsTest, SpacingPresetsWriteOrDeleteTheGlobalKeys) {
    std::vector<std::vector<std::string>> calls;
    platform::CommandTable::shared().overrideCommand("/usr/bin/defaults", [&](platform::CommandCall& call) {
        calls.push_back(call.arguments());
        return platform::SystemSettingsCommands::defaults(call, desktop.systemSettings());
    });
    controller();
    auto choose = [&](const std::string& id) {
        auto menu = controller().makeSettingsMenu()->item(3)->submenu();
        for (std::size_t i = 0; i < menu->items().size(); ++i) {
            const auto* represented = menu->item(i)->representedObjectAs<std::string>();
            if (represented && *represented == id) {
                menu->performActionForItem(i);
                return menu;
            }
        }
        // A preset that does not exist, as a stale menu item might carry.
        auto stray = menu->addItem("?", [&](platform::MenuItem& item) { controller().changeSpacing(item); });
        stray->setRepresentedObject(id);
        menu->performActionForItem(menu->items().size() - 1);
        return menu;
    };
    auto spacing = [&](const char* key) {
        return desktop.systemSettings().read(true, platform::SystemSettings::globalDomain, key);
    };

    auto menu = choose("compact");
    advance(0.1);
    EXPECT_EQ(calls, (std::vector<std::vector<std::string>>{
                         {"-currentHost", "write", "-globalDomain", "NSStatusItemSpacing", "-int", "2"},
                         {"-currentHost", "write", "-globalDomain", "NSStatusItemSelectionPadding", "-int", "2"}}));
    const auto written = spacing("NSStatusItemSpacing");
    ASSERT_TRUE(written);
    EXPECT_EQ(written->asInteger(), 2);
    EXPECT_EQ(platform::UserDefaults::standard().string(HiddenIconsController::spacingPresetKey), "compact");
    EXPECT_EQ(menu->item(0)->state(), MenuItemState::on);
    EXPECT_EQ(menu->item(3)->state(), MenuItemState::off);
    auto note = controller().safetyPopover();
    ASSERT_TRUE(note && note->isShown());
    EXPECT_EQ(note->contentSize, (platform::Size{358, 78}));

    calls.clear();
    choose("system");
    advance(0.1);
    EXPECT_EQ(calls, (std::vector<std::vector<std::string>>{
                         {"-currentHost", "delete", "-globalDomain", "NSStatusItemSpacing"},
                         {"-currentHost", "delete", "-globalDomain", "NSStatusItemSelectionPadding"}}));
    EXPECT_FALSE(spacing("NSStatusItemSpacing"));
    EXPECT_FALSE(spacing("NSStatusItemSelectionPadding"));

    calls.clear();
    choose("huge");
    advance(0.1);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(platform::UserDefaults::standard().string(HiddenIconsController::spacingPresetKey), "system");
    platform::CommandTable::shared().removeOverride("/usr/bin/defaults");
}

TEST_F(HiddenIconsTest, WritesPicturesOfTheMenuBarExpandedAndCollapsed) {
    context().setShared<platform::TextMeasurer>(std::make_shared<platform::PangoTextMeasurer>());
    area().addOtherItem({"com.example.battery", "▮▮▯", 34});
    controller();
    hideCloudBehindTheSeparator();
    const auto folder = std::filesystem::path(TALLOWMERE_BINARY_DIR) / "renderings";
    std::filesystem::create_directories(folder);
    ASSERT_TRUE(platform::ScreenSnapshot::writePng(folder / "hidden_icons_expanded.png").ok());
    menuBar.click(arrow());
    ASSERT_TRUE(controller().isCollapsed());
    ASSERT_TRUE(platform::ScreenSnapshot::writePng(folder / "hidden_icons_collapsed.png").ok());
}

}  // namespace
}  // namespace tallowmere::testing
