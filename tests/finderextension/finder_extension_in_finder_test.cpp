// The extension module loaded by the simulated Finder, with the program
// started: a person's clicks in a Finder window end in real files.
// Also writes a picture a person can look at, under the build folder:
//   renderings/finderextension/finder_hash_menu.png   two files selected,
//                                                     the hash submenu open
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "app/app_delegate_fixture.h"
#include "platform/desktop/finder_window_layout.h"
#include "platform/gfx/pango_text_measurer.h"
#include "platform/system/file_digest.h"
#include "platform/system/paths.h"
#include "platform/system/system_log.h"
#include "platform/ui/finder_sync_extension_host.h"
#include "platform/ui/menu.h"
#include "platform/ui/menu_tracker.h"
#include "platform/ui/screen_snapshot.h"

namespace tallowmere::testing {
namespace {

using Path = std::filesystem::path;
using platform::FinderWindowLayout;

class FinderExtensionInFinderTest : public AppDelegateTest {
protected:
    void SetUp() override {
        std::filesystem::create_directories(work);
        launch();
        runUntilIdle();
        // The settings window would stand in front of Finder's.
        if (auto window = mainWindow()) window->close();
        auto finder = setup.addApplication({.bundleIdentifier = "com.apple.finder", .name = "Finder"});
        ASSERT_TRUE(finder);
        window = finder->addWindow({.title = "工作", .frame = {200, 150, 800, 500}, .document = work.string()});
        auto loaded = platform::FinderSyncExtensionHost::shared().load(
            TALLOWMERE_FINDER_EXTENSION_MODULE,
            "/Applications/Tallowmere Sparkwell.app/Contents/PlugIns/TallowbyFinderExtension.appex");
        ASSERT_TRUE(loaded) << loaded.error().message;
    }

    FinderWindowLayout layout() const { return *FinderWindowLayout::of(*window); }
    platform::ScreenPoint onScreen(platform::AXRect rect) const {
        return desktop.screens().toScreen(platform::AXPoint{rect.midX(), rect.midY()});
    }
    platform::ScreenPoint itemPoint(const std::string& name) const {
        const auto shown = layout();
        for (std::size_t i = 0; i < shown.items().size(); ++i) {
            if (shown.items()[i].filename() == name) return onScreen(shown.itemRowFrame(i));
        }
        ADD_FAILURE() << name << " is not shown";
        return {};
    }
    platform::ScreenPoint sidebarPoint(const Path& folder) const {
        const auto shown = layout();
        for (std::size_t i = 0; i < shown.sidebarFolders().size(); ++i) {
            if (shown.sidebarFolders()[i] == folder) return onScreen(shown.sidebarRowFrame(i));
        }
        ADD_FAILURE() << folder << " is not in the sidebar";
        return {};
    }
    platform::ScreenPoint backgroundPoint() const {
        const auto list = layout().itemsFrame();
        return desktop.screens().toScreen(platform::AXPoint{list.midX(), list.maxY() - 20});
    }
    // Dark pixels where the window shows the extension's button.
    int darkPixelsOfTheButton() {
        const double scale = 2;
        auto shown = platform::ScreenSnapshot::render(nullptr, scale);
        EXPECT_TRUE(shown);
        if (!shown) return 0;
        const auto button = desktop.screens().toScreen(layout().toolbarButtonFrame());
        const double screenHeight = desktop.screens().primaryScreen()->frame().height();
        int dark = 0;
        // Bitmap rows run from the top.
        for (int y = static_cast<int>((screenHeight - button.maxY()) * scale);
             y < static_cast<int>((screenHeight - button.minY()) * scale); ++y) {
            for (int x = static_cast<int>(button.minX() * scale); x < static_cast<int>(button.maxX() * scale); ++x) {
                const auto pixel = shown->pixel(x, y);
                dark += pixel.red < 110 && pixel.green < 110 && pixel.blue < 110;
            }
        }
        return dark;
    }
    void makeFile(const std::string& name, const std::string& contents) {
        std::ofstream(work / name, std::ios::binary) << contents;
    }

    const Path work = platform::Paths::home() / "工作";
    std::shared_ptr<platform::SimulatedWindow> window;
};

TEST_F(FinderExtensionInFinderTest, NewTextFileFromTheWindowBackground) {
    mouse.click(backgroundPoint(), MouseButton::right);
    ASSERT_TRUE(menus.isOpen());
    EXPECT_EQ(menus.openMenu()->title(), "塔洛梅");
    ASSERT_TRUE(menus.choose("文本文档 (.txt)"));
    runUntilIdle();
    EXPECT_TRUE(std::filesystem::is_regular_file(work / "新建文件.txt"));
    EXPECT_EQ(std::filesystem::file_size(work / "新建文件.txt"), 0u);
    // Served in the background: the settings window stays closed.
    EXPECT_FALSE(mainWindowIsShown());
    EXPECT_TRUE(alerts.shown().empty());
    // The window shows the new file at once.
    EXPECT_EQ(layout().items().size(), 1u);
}

TEST_F(FinderExtensionInFinderTest, HashesOfTwoSelectedFiles) {
    makeFile("a.txt", "abc");
    makeFile("b.txt", "hello\n");
    makeFile("c.txt", "not selected");
    mouse.click(itemPoint("a.txt"));
    mouse.modifiers = platform::ModifierFlags{platform::ModifierFlags::command};
    mouse.click(itemPoint("b.txt"));
    mouse.modifiers = {};
    EXPECT_EQ(desktop.finder().selection(), (std::vector<Path>{work / "a.txt", work / "b.txt"}));

    mouse.click(itemPoint("b.txt"), MouseButton::right);
    ASSERT_TRUE(menus.isOpen());
    ASSERT_TRUE(menus.choose("SHA-256"));
    runUntilIdle();
    ASSERT_FALSE(alerts.shown().empty());
    EXPECT_EQ(alerts.last().messageText, "已复制 SHA-256 哈希值");
    EXPECT_EQ(alerts.last().informativeText,
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad  a.txt\n"
              "5891b5b522d5df086d0ff0b110fbd9d21bb4fc7163af34d08286a2e846f6be03  b.txt");
}

TEST_F(FinderExtensionInFinderTest, WhatEachClickAsksFor) {
    makeFile("a.txt", "a");
    makeFile("b.txt", "b");
    std::filesystem::create_directories(platform::Paths::home() / "Documents");
    struct Case {
        const char* name;
        std::function<platform::ScreenPoint()> where;
        MouseButton button;
        std::string expectedPaste;  // what "复制路径" copies; "" sends to the program
    } cases[] = {
        {"secondary click on an item selects it", [&] { return itemPoint("b.txt"); }, MouseButton::right,
         (work / "b.txt").string()},
        {"window background", [&] { return backgroundPoint(); }, MouseButton::right, work.string()},
        {"sidebar entry", [&] { return sidebarPoint(platform::Paths::home() / "Documents"); }, MouseButton::right,
         (platform::Paths::home() / "Documents").string()},
        {"toolbar button with nothing selected", [&] { return onScreen(layout().toolbarButtonFrame()); },
         MouseButton::left, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        desktop.pasteboard().clearContents();
        const auto requests = desktop.workspace().openRequests().size();
        mouse.click(c.where(), c.button);
        ASSERT_TRUE(menus.isOpen());
        ASSERT_TRUE(menus.choose("复制路径"));
        runUntilIdle();
        if (c.expectedPaste.empty()) {
            EXPECT_EQ(desktop.workspace().openRequests().size(), requests + 1);
        } else {
            EXPECT_EQ(desktop.pasteboard().string(), c.expectedPaste);
        }
    }
}

TEST_F(FinderExtensionInFinderTest, FoldersTheExtensionDoesNotWatchShowNoMenu) {
    desktop.finderSync().setDirectoryURLs({platform::Url::fileUrl("/nowhere", true)});
    mouse.click(backgroundPoint(), MouseButton::right);
    EXPECT_FALSE(menus.isOpen());
}

TEST_F(FinderExtensionInFinderTest, AModuleWithoutTheEntryIsRefused) {
    auto& host = platform::FinderSyncExtensionHost::shared();
    auto* loaded = host.principal();
    EXPECT_FALSE(host.load(work / "missing.so", "/x.appex"));
    // A shared object, but no extension.
    EXPECT_FALSE(host.load("libm.so.6", "/x.appex"));
    // The extension loaded before stays.
    EXPECT_EQ(host.principal(), loaded);
    mouse.click(backgroundPoint(), MouseButton::right);
    EXPECT_TRUE(menus.isOpen());
}

TEST_F(FinderExtensionInFinderTest, AnInstalledExtensionLoadsWhenFinderFirstNeedsIt) {
    auto& host = platform::FinderSyncExtensionHost::shared();
    host.install(TALLOWMERE_FINDER_EXTENSION_MODULE, "/Applications/Tallowmere Sparkwell.app/Contents/PlugIns/X.appex");
    EXPECT_FALSE(host.principal());
    mouse.click(backgroundPoint(), MouseButton::right);
    EXPECT_TRUE(menus.isOpen());
    EXPECT_TRUE(host.principal());

    // One that cannot load says so once, and Finder shows no menu.
    menus.dismiss();
    host.install(work / "missing.so", "/x.appex");
    mouse.click(backgroundPoint(), MouseButton::right);
    mouse.click(backgroundPoint(), MouseButton::right);
    EXPECT_FALSE(menus.isOpen());
    const auto lines = platform::SystemLog::shared().lines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& line) { return line.find("missing.so") != std::string::npos; }),
              1);
    EXPECT_FALSE(desktop.finderSync().toolbarItemFor(work));
}

TEST_F(FinderExtensionInFinderTest, FinderShowsTheExtensionsButton) {
    auto item = desktop.finderSync().toolbarItemFor(work);
    ASSERT_TRUE(item);
    EXPECT_EQ(item->name, "塔洛梅");
    EXPECT_EQ(item->toolTip, "在当前文件夹新建文件、复制路径或打开终端");
    EXPECT_TRUE(item->image.isTemplate());
}

// Finder asks for the button once however often its windows are drawn, and
// for one menu per click; a click on the button while its menu is open
// closes the menu.
TEST_F(FinderExtensionInFinderTest, OneMenuPerClickAndTheButtonAskedOnce) {
    struct CountingExtension final : platform::FinderSyncController::Extension {
        bool load() override { return true; }
        std::optional<platform::FinderSyncController::ToolbarItem> toolbarItem() override {
            ++buttonsAsked;
            return platform::FinderSyncController::ToolbarItem{"塔洛梅", "", platform::Image::fromBitmap(platform::Bitmap(24, 24))};
        }
        void showMenu(platform::FinderSyncMenuKind kind, platform::ScreenPoint location) override {
            kinds.push_back(kind);
            auto menu = platform::Menu::make("塔洛梅");
            menu->addItem(platform::MenuItem::make("复制路径"));
            menu->popUp(nullptr, location);
        }
        int buttonsAsked = 0;
        std::vector<platform::FinderSyncMenuKind> kinds;
    };
    auto extension = std::make_shared<CountingExtension>();
    desktop.finderSync().setExtension(extension);
    for (int frame = 0; frame < 3; ++frame) ASSERT_TRUE(platform::ScreenSnapshot::render());
    EXPECT_EQ(extension->buttonsAsked, 1);

    const auto button = onScreen(layout().toolbarButtonFrame());
    mouse.click(button);
    EXPECT_TRUE(menus.isOpen());
    mouse.click(button);
    EXPECT_FALSE(menus.isOpen());
    mouse.click(button);
    EXPECT_TRUE(menus.isOpen());
    EXPECT_EQ(extension->kinds, (std::vector<platform::FinderSyncMenuKind>(
                                    2, platform::FinderSyncMenuKind::toolbarItemMenu)));
    EXPECT_EQ(extension->buttonsAsked, 1);
}

TEST_F(FinderExtensionInFinderTest, TheWindowShowsTheButtonAndTheMenuOverIt) {
    // Measured with the fonts that draw it, as in the program.
    context().setShared<platform::TextMeasurer>(std::make_shared<platform::PangoTextMeasurer>());
    std::filesystem::create_directories(work / "照片");
    makeFile("报告 2026.md", "# 报告\n");
    makeFile("notes.txt", "abc");
    makeFile("b.txt", "hello\n");
    EXPECT_GT(darkPixelsOfTheButton(), 20) << "the extension's image is drawn on its button";

    mouse.click(itemPoint("b.txt"));
    mouse.modifiers = platform::ModifierFlags{platform::ModifierFlags::command};
    mouse.click(itemPoint("notes.txt"));
    mouse.modifiers = {};
    mouse.click(itemPoint("notes.txt"), MouseButton::right);
    ASSERT_TRUE(menus.isOpen());
    // The pointer rests on "哈希值", which opens its submenu.
    auto hashes = menus.find("哈希值");
    ASSERT_TRUE(hashes);
    const auto* shown = platform::MenuTracker::shared().layoutOf(*menus.openMenu());
    ASSERT_TRUE(shown && shown->rowOf(*hashes));
    const auto row = shown->rowOf(*hashes)->frame;
    mouse.moveTo({row.midX(), row.midY()});
    ASSERT_TRUE(hashes->submenu()->isOpen());

    const auto renderings = std::filesystem::path(TALLOWMERE_BINARY_DIR) / "renderings" / "finderextension";
    std::filesystem::create_directories(renderings);
    const auto file = renderings / "finder_hash_menu.png";
    ASSERT_TRUE(platform::ScreenSnapshot::writePng(file, nullptr, 2).ok());
    EXPECT_GT(std::filesystem::file_size(file), 10000u);

    menus.dismiss();
    // Without an extension Finder shows no button.
    desktop.finderSync().setExtension({});
    EXPECT_EQ(darkPixelsOfTheButton(), 0);
}

}  // namespace
}  // namespace tallowmere::testing
