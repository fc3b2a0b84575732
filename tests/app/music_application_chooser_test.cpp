#include <gtest/gtest.h>

#include <filesystem>

#include "app_delegate_fixture.h"
#include "menubar/media_control_controller.h"
#include "menubar/music_application_choice.h"
#include "menubar/network_traffic_status_view.h"
#include "platform/base/url.h"
#include "platform/desktop/desktop.h"
#include "platform/gfx/pango_text_measurer.h"
#include "platform/ui/menu.h"
#include "platform/ui/menu_item.h"
#include "platform/ui/screen_snapshot.h"

namespace tallowmere::testing {
namespace {

namespace fs = std::filesystem;

class MusicApplicationChooserTest : public AppDelegateTest {
protected:
    void start() {
        defaults().set("mediaControlsEnabled", platform::PropertyValue(true));
        launch();
        runUntilIdle();
    }
    // A click on the strip's player button.
    void clickPlayerButton() {
        auto& strip = *delegate().networkTrafficStatusView();
        strip.handleStatusClick({strip.leadingWidth() + 60, 10});
    }
    const MusicApplicationChoice& choice(std::string_view name) {
        for (const auto& entry : musicApplicationChoices()) {
            if (entry.name == name) return entry;
        }
        throw std::runtime_error("no such choice");
    }
    std::optional<std::string> installedPath(std::string_view name) {
        const auto location = delegate().installedMusicApplicationURL(choice(name));
        if (!location) return std::nullopt;
        return platform::Url::parse(*location)->fileSystemPath();
    }
};

TEST_F(MusicApplicationChooserTest, WithNoPlayerThePlayerButtonOffersTheMenuAndOpensNothing) {
    desktop.input().warpMouse({1000, 880});
    start();
    ASSERT_FALSE(MediaControlController::shared().hasCurrentPlayer());
    clickPlayerButton();
    ASSERT_TRUE(menus.isOpen());
    EXPECT_EQ(menus.openMenu()->title(), "选择音乐应用");
    const std::vector<std::string> expected{
        "网易云音乐（未安装）", "QQ音乐（未安装）", "酷狗音乐（未安装）", "酷我音乐（未安装）",
        "Apple Music（未安装）", "Spotify（未安装）", "虾米音乐（仅缅怀）", "千千静听（仅缅怀）"};
    EXPECT_EQ(menus.itemTitles(), expected);
    EXPECT_TRUE(desktop.workspace().openedApplications().empty()) << "nothing is opened blindly";
    menus.dismiss();

    InterfaceLanguage::setCurrent(InterfaceLanguage::english);
    clickPlayerButton();
    EXPECT_EQ(menus.openMenu()->title(), "Choose a Music App");
    EXPECT_EQ(menus.itemTitles().front(), "网易云音乐 (not installed)");
    EXPECT_EQ(menus.itemTitles().back(), "千千静听（仅缅怀）");
}

TEST_F(MusicApplicationChooserTest, InstalledChoicesAreFoundInTheirOrder) {
    // Kugou under its second identifier, in an odd place, and an unrelated
    // application with Kugou's file name: the identifier wins.
    setup.addApplication({.bundleIdentifier = "com.kugou.macmusic", .name = "Kugou Player",
                          .bundlePath = "/Applications/Players/Kugou Player.app", .running = false});
    setup.addApplication({.bundleIdentifier = "com.example.fake", .name = "酷狗音乐", .running = false});
    // Kuwo known only by its file name in /Applications.
    setup.addApplication({.bundleIdentifier = "com.example.renamed", .name = "KuwoMusic", .running = false});
    // Spotify only in the person's own Applications folder.
    fs::create_directories(home() / "Applications" / "Spotify.app");
    start();
    struct Case {
        const char* name;
        std::optional<std::string> path;
    };
    const Case cases[] = {
        {"酷狗音乐", "/Applications/Players/Kugou Player.app"},
        {"酷我音乐", "/Applications/KuwoMusic.app"},
        {"Spotify", (home() / "Applications" / "Spotify.app").string()},
        {"QQ音乐", std::nullopt},
        {"虾米音乐（仅缅怀）", std::nullopt},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        EXPECT_EQ(installedPath(testCase.name), testCase.path);
    }

    clickPlayerButton();
    for (const char* title : {"虾米音乐（仅缅怀）", "千千静听（仅缅怀）", "QQ音乐（未安装）"}) {
        SCOPED_TRACE(title);
        auto item = menus.find(title);
        ASSERT_TRUE(item);
        EXPECT_FALSE(item->isEnabled());
        EXPECT_FALSE(item->image());
    }
    auto spotify = menus.find("Spotify");
    ASSERT_TRUE(spotify);
    EXPECT_TRUE(spotify->isEnabled());
    ASSERT_TRUE(spotify->image());
    EXPECT_EQ(spotify->image()->size(), (platform::Size{18, 18}));
}

TEST_F(MusicApplicationChooserTest, AChoiceOpensItsApplicationActivated) {
    auto qq = setup.addApplication({.bundleIdentifier = "com.tencent.QQMusicMac", .name = "QQ音乐", .running = false});
    start();
    clickPlayerButton();
    // Pictures for a person to look at: the menu as the screen shows it.
    context().setShared<platform::TextMeasurer>(std::make_shared<platform::PangoTextMeasurer>());
    const auto folder = fs::path(TALLOWMERE_BINARY_DIR) / "renderings";
    fs::create_directories(folder);
    ASSERT_TRUE(platform::ScreenSnapshot::writePng(folder / "music_application_chooser.png").ok());

    ASSERT_TRUE(menus.choose("QQ音乐"));
    advance(1.0);  // it launches
    ASSERT_EQ(desktop.workspace().openedApplications(), std::vector<std::string>{qq->bundlePath()});
    EXPECT_TRUE(qq->isRunning());
    auto front = desktop.workspace().frontmostApplication();
    ASSERT_TRUE(front);
    EXPECT_EQ(front->bundleIdentifier(), "com.tencent.QQMusicMac");
}

}  // namespace
}  // namespace tallowmere::testing
