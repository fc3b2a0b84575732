#include <string>
#include <vector>

#include "app_delegate_fixture.h"
#include "platform/desktop/desktop.h"
#include "platform/ui/menu.h"
#include "platform/ui/menu_item.h"

namespace tallowmere::testing {
namespace {

using platform::DisplayID;
using platform::MenuItemState;

class ProjectionModeTest : public AppDelegateTest {
protected:
    std::shared_ptr<platform::Screen> addDisplay(double x, bool supportsMirroring = true) {
        auto added = desktop.screens().addScreen({.frame = {x, 0, 1920, 1080},
                                                  .backingScaleFactor = 1,
                                                  .localizedName = "Projector",
                                                  .isBuiltIn = false,
                                                  .supportsMirroring = supportsMirroring});
        EXPECT_TRUE(added.ok());
        return added.ok() ? *added : nullptr;
    }
    void start() {
        launch({"--finder-action"});
        runUntilIdle();
    }
    struct Shown {
        std::string title;
        bool enabled;
        bool mirrorChecked, mirrorEnabled, extendChecked, extendEnabled;
        bool operator==(const Shown&) const = default;
    };
    Shown projectionItem() {
        menuBar.click(*delegate().statusItem());
        Shown shown{};
        if (auto menu = menus.openMenu()) {
            for (const auto& item : menu->items()) {
                const auto& title = item->displayedTitle();
                if (title.rfind("投屏模式切换", 0) != 0 && title.rfind("Projection Mode", 0) != 0) continue;
                auto mirror = item->submenu()->item(0);
                auto extend = item->submenu()->item(1);
                shown = {item->displayedTitle(),  item->canBeChosen(),
                         mirror->state() == MenuItemState::on, mirror->isEnabled(),
                         extend->state() == MenuItemState::on, extend->isEnabled()};
            }
        }
        menus.dismiss();
        return shown;
    }
    void choose(const std::string& mode) {
        menuBar.click(*delegate().statusItem());
        ASSERT_TRUE(menus.choose(mode)) << mode;
    }
    std::vector<DisplayID> mirrorSources() {
        std::vector<DisplayID> sources;
        for (const auto& display : desktop.screens().onlineDisplays()) sources.push_back(display->mirrorSource());
        return sources;
    }
    // Sends the action as a menu item with this tag would.
    void request(int tag) {
        auto item = platform::MenuItem::make("");
        item->setTag(tag);
        delegate().setProjectionModeFromMenu(*item);
    }
};

TEST_F(ProjectionModeTest, TwoScreensMirrorThenExtend) {
    addDisplay(1440);
    start();
    const DisplayID main = desktop.screens().primaryScreen()->displayID();
    EXPECT_EQ(projectionItem(), (Shown{"投屏模式切换", true, false, true, true, false}));

    choose("镜像显示");
    EXPECT_EQ(mirrorSources(), (std::vector<DisplayID>{0, main}));
    EXPECT_EQ(desktop.screens().screens().size(), 1u) << "the projector shows the main display";
    EXPECT_EQ(projectionItem(), (Shown{"投屏模式切换", true, true, false, false, true}));

    choose("扩展显示");
    EXPECT_EQ(mirrorSources(), (std::vector<DisplayID>{0, 0}));
    EXPECT_EQ(desktop.screens().completedConfigurationCount(), 2);
    EXPECT_EQ(alerts.count(), 0u);
}

TEST_F(ProjectionModeTest, ARequestAlreadyInForceChangesNothing) {
    addDisplay(1440);
    start();
    request(0);
    EXPECT_EQ(desktop.screens().completedConfigurationCount(), 0);
    request(1);
    request(1);
    EXPECT_EQ(desktop.screens().completedConfigurationCount(), 1);
    EXPECT_EQ(alerts.count(), 0u);
}

TEST_F(ProjectionModeTest, OneScreenDisablesTheItemAndAsksForASecondDisplay) {
    start();
    EXPECT_EQ(projectionItem(), (Shown{"投屏模式切换（未连接外接显示器）", false, false, false, true, false}));
    request(1);
    ASSERT_EQ(alerts.count(), 1u);
    EXPECT_EQ(alerts.last().messageText, "投屏模式切换失败");
    EXPECT_EQ(alerts.last().informativeText, "请先连接第二台显示器，再切换投屏模式。");
    EXPECT_EQ(alerts.last().buttons, (std::vector<std::string>{"好"}));
}

TEST_F(ProjectionModeTest, EachFailedStepShowsItsAlertAndLeavesTheDisplaysAsTheyWere) {
    struct Case {
        const char* name;
        void (*breakStep)(platform::ScreenArrangement&);
        bool thirdDisplayCannotMirror;
        std::string message;
    } cases[] = {
        {"the configuration cannot begin", [](platform::ScreenArrangement& s) { s.failNextBeginConfiguration(); },
         false, "无法开始显示器配置，请稍后再试。"},
        {"one display cannot mirror", [](platform::ScreenArrangement&) {}, true,
         "当前显示器不支持所选投屏模式。"},
        {"the configuration cannot complete",
         [](platform::ScreenArrangement& s) { s.failNextCompleteConfiguration(); }, false,
         "投屏模式切换失败，请关闭全屏应用后重试。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        while (desktop.screens().onlineDisplays().size() > 1) {
            desktop.screens().removeScreen(desktop.screens().onlineDisplays().back());
        }
        addDisplay(1440);
        addDisplay(3360, !c.thirdDisplayCannotMirror);
        if (!delegate_) start();
        c.breakStep(desktop.screens());
        const std::size_t before = alerts.count();

        request(1);

        EXPECT_EQ(mirrorSources(), (std::vector<DisplayID>{0, 0, 0})) << "no display changed";
        ASSERT_EQ(alerts.count(), before + 1);
        EXPECT_EQ(alerts.last().messageText, "投屏模式切换失败");
        EXPECT_EQ(alerts.last().informativeText, c.message);
    }
}

TEST_F(ProjectionModeTest, ThreeScreensMirrorInOneTransaction) {
    addDisplay(1440);
    addDisplay(3360);
    start();
    request(1);
    const DisplayID main = desktop.screens().primaryScreen()->displayID();
    EXPECT_EQ(mirrorSources(), (std::vector<DisplayID>{0, main, main}));
    EXPECT_EQ(desktop.screens().completedConfigurationCount(), 1);
}

TEST_F(ProjectionModeTest, OtherLanguagesReadTheEnglishTexts) {
    InterfaceLanguage::setCurrent(InterfaceLanguage::french);
    start();
    EXPECT_EQ(projectionItem().title, "Projection Mode (No External Display)");
    request(0);
    ASSERT_EQ(alerts.count(), 1u);
    EXPECT_EQ(alerts.last().messageText, "Projection Mode");
    EXPECT_EQ(alerts.last().informativeText, "Connect a second display before switching projection mode.");
    EXPECT_EQ(alerts.last().buttons, (std::vector<std::string>{"OK"}));
}

}  // namespace
}  // namespace tallowmere::testing
