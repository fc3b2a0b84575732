#include <filesystem>
#include <string>
#include <vector>

#include "app/status_menu_links.h"
#include "app_delegate_fixture.h"
#include "platform/desktop/desktop.h"
#include "platform/ui/menu.h"
#include "platform/ui/menu_item.h"
#include "platform/ui/text_field.h"
#include "windows/window_pin_controller.h"

namespace tallowmere::testing {
namespace {

using platform::Event;
using platform::EventType;

constexpr const char* privacyPane = "x-apple.systempreferences:com.apple.preference.security?Privacy_Accessibility";

class StatusMenuActionsTest : public AppDelegateTest {
protected:
    void start() {
        launch({"--finder-action"});
        runUntilIdle();
    }
    // Finder, which copies the path of its selection on Command-Option-C.
    std::shared_ptr<platform::SimulatedApplication> addFinder(std::string selection, bool refusesActivation = false) {
        auto finder = setup.addApplication({.bundleIdentifier = "com.apple.finder",
                                            .name = "Finder",
                                            .refusesActivation = refusesActivation});
        if (!finder) {
            ADD_FAILURE() << "Finder could not be added";
            return nullptr;
        }
        finder->onKeyEvent = [this, selection](platform::SimulatedApplication&, const Event& event) {
            const bool chord = event.type == EventType::keyDown && event.keyCode == 8 &&
                               event.modifierFlags.contains(platform::ModifierFlags::command |
                                                            platform::ModifierFlags::option);
            if (!chord) return false;
            ++chordsReceived;
            if (!selection.empty()) {
                desktop.pasteboard().clearContents();
                desktop.pasteboard().setString(selection);
            }
            return true;
        };
        return finder;
    }
    void copyPath() {
        menuBar.click(*delegate().statusItem());
        ASSERT_TRUE(menus.choose(desktop.accessibility().isProcessTrusted() ? "复制地址" : "复制地址（需授权）"));
    }
    int chordsReceived = 0;
};

TEST_F(StatusMenuActionsTest, CopyPathHasFinderCopyItsSelection) {
    desktop.accessibility().setTrusted(true);
    auto finder = addFinder("/Users/me/Desktop/报告.txt");
    auto editor = setup.addApplication({.bundleIdentifier = "com.example.editor", .name = "Editor"});
    ASSERT_TRUE(editor && finder);
    desktop.activate(*finder);
    desktop.activate(*editor);
    start();
    // Finder was in front last before the editor: it comes first.
    desktop.activate(*finder);
    desktop.activate(*editor);

    copyPath();
    EXPECT_EQ(chordsReceived, 0) << "Finder is given a moment to come forward";
    advance(0.22);
    EXPECT_EQ(chordsReceived, 1);
    advance(1.5);
    EXPECT_EQ(desktop.pasteboard().string(), "/Users/me/Desktop/报告.txt");
    EXPECT_EQ(alerts.count(), 0u);
}

TEST_F(StatusMenuActionsTest, CopyPathSaysSoWhenNothingArrives) {
    struct Case {
        const char* name;
        bool finderRuns;
        bool finderRefusesActivation;
        std::string selection;
        int chords;
        std::string informativeText;
        double shownAfter;
    } cases[] = {
        {"nothing selected", true, false, "", 1,
         "请先在桌面或 Finder 中选中文件或文件夹，再点击复制文件或文件夹路径。", 1.22},
        {"Finder stays behind another application", true, true, "/tmp/a", 0,
         "请先在桌面或 Finder 中选中文件、文件夹，或打开一个文件夹窗口。", 0.22},
        {"Finder is not running", false, false, "", 0,
         "请先在桌面或 Finder 中选中文件、文件夹，或打开一个文件夹窗口。", 0},
    };
    desktop.accessibility().setTrusted(true);
    auto editor = setup.addApplication({.bundleIdentifier = "com.example.editor", .name = "Editor"});
    ASSERT_TRUE(editor);
    start();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto finder = desktop.application("com.apple.finder");
        if (c.finderRuns && !finder) finder = addFinder(c.selection);
        if (c.finderRuns && !finder->isRunning()) {
            finder->launch();
            advance(1);
        }
        if (!c.finderRuns && finder && finder->isRunning()) {
            finder->terminate();
            runUntilIdle();
        }
        if (finder) finder->setRefusesActivation(c.finderRefusesActivation);
        // A stale string on the pasteboard does not count as copied.
        desktop.pasteboard().clearContents();
        desktop.pasteboard().setString("stale");
        desktop.activate(*editor);
        chordsReceived = 0;
        const std::size_t before = alerts.count();
        int editorKeys = 0;
        editor->onKeyEvent = [&editorKeys](platform::SimulatedApplication&, const Event&) {
            ++editorKeys;
            return true;
        };

        copyPath();
        if (c.shownAfter > 0) {
            advance(c.shownAfter - 0.03);
            EXPECT_EQ(alerts.count(), before) << "too early";
            advance(0.05);
        }
        EXPECT_EQ(chordsReceived, c.chords);
        EXPECT_EQ(editorKeys, 0) << "the chord never lands in another application";
        ASSERT_EQ(alerts.count(), before + 1);
        EXPECT_EQ(alerts.last().messageText, "未找到当前文件或文件夹");
        EXPECT_EQ(alerts.last().informativeText, c.informativeText);
        advance(2);
        EXPECT_EQ(alerts.count(), before + 1) << "one alert per try";
        editor->onKeyEvent = nullptr;
    }
}

TEST_F(StatusMenuActionsTest, CopyPathWithoutAccessibilityOnlyOpensThePrivacySettings) {
    addFinder("/tmp/a");
    start();
    copyPath();
    advance(2);
    EXPECT_EQ(chordsReceived, 0);
    EXPECT_EQ(alerts.count(), 0u);
    const auto& opened = desktop.workspace().openedURLs();
    EXPECT_NE(std::find(opened.begin(), opened.end(), privacyPane), opened.end());
}

TEST_F(StatusMenuActionsTest, AINavigationOpensOneSiteOrAllInTableOrder) {
    start();
    auto item = platform::MenuItem::make("");
    for (int tag : {2, 6, -1}) {
        item->setTag(tag);
        delegate().openAINavigationFromMenu(*item);
    }
    const std::vector<std::string> one{std::string(aiNavigationServices[2].address)};
    EXPECT_EQ(desktop.workspace().openedURLs(), one) << "tags outside the table open nothing";

    delegate().openAllAINavigationFromMenu();
    std::vector<std::string> all = one;
    for (const auto& service : aiNavigationServices) all.emplace_back(service.address);
    EXPECT_EQ(desktop.workspace().openedURLs(), all);
}

TEST_F(StatusMenuActionsTest, WorkScenesOpenTheirPlaylists) {
    start();
    menuBar.click(*delegate().statusItem());
    ASSERT_TRUE(menus.choose("被裁员了"));
    ASSERT_EQ(desktop.workspace().openedURLs().size(), 1u);
    const std::string opened = desktop.workspace().openedURLs()[0];
    EXPECT_EQ(opened, workScenePlaylistAddresses[2]);
    EXPECT_EQ(opened.rfind("https://music.163.com/playlist?id=", 0), 0u);
}

TEST_F(StatusMenuActionsTest, NewFileGoesIntoTheChosenFolderAndIsShown) {
    defaults().set("newFileTypes", platform::PropertyValue(platform::PropertyValue::Array{
                                       platform::PropertyValue("md"), platform::PropertyValue("txt")}));
    const auto folder = home() / "Projects";
    std::filesystem::create_directories(folder);
    start();
    menuBar.click(*delegate().statusItem());
    ASSERT_TRUE(menus.find(".txt") && menus.find(".md"));
    panels.choose({folder});
    ASSERT_TRUE(menus.choose(".md"));
    runUntilIdle();  // Finder is asked first; without its folder the panel comes up

    EXPECT_TRUE(std::filesystem::exists(folder / "new.md"));
    ASSERT_EQ(desktop.workspace().fileViewerSelections().size(), 1u);
    EXPECT_EQ(desktop.workspace().fileViewerSelections()[0], (std::vector<std::string>{(folder / "new.md").string()}));

    // Cancelling the folder choice makes nothing (Finder, which now shows
    // the folder, may not be asked this time).
    desktop.finder().setAutomationAllowed(false);
    menuBar.click(*delegate().statusItem());
    panels.cancelNextOpen();
    ASSERT_TRUE(menus.choose(".txt"));
    runUntilIdle();
    EXPECT_FALSE(std::filesystem::exists(folder / "new.txt"));
    EXPECT_EQ(alerts.count(), 0u);
}

TEST_F(StatusMenuActionsTest, PomodoroCountsDownInItsItemAndTheSameItemStopsIt) {
    start();
    auto title = [&] {
        menuBar.click(*delegate().statusItem());
        std::string shown = menus.openMenu()->item(3)->displayedTitle();
        menus.dismiss();
        return shown;
    };
    EXPECT_EQ(title(), "开启一个番茄闹钟");
    menuBar.click(*delegate().statusItem());
    ASSERT_TRUE(menus.choose("开启一个番茄闹钟"));
    EXPECT_EQ(title(), "关闭这个番茄闹钟 · 00:25:00");
    advance(24 * 60 + 1);
    EXPECT_EQ(title(), "关闭这个番茄闹钟 · 00:00:59");
    menuBar.click(*delegate().statusItem());
    ASSERT_TRUE(menus.choose("关闭这个番茄闹钟 · 00:00:59"));
    EXPECT_EQ(title(), "开启一个番茄闹钟");
    advance(120);
    EXPECT_EQ(title(), "开启一个番茄闹钟") << "a stopped pomodoro stays stopped";
}

TEST_F(StatusMenuActionsTest, CustomPomodoroReadsItsMinutesForgivingly) {
    struct Case {
        std::string typed;
        std::string shown;
    } cases[] = {
        {"abc", "00:25:00"}, {"", "00:25:00"}, {"   ", "00:25:00"}, {"0", "00:01:00"},
        {"-7", "00:01:00"},  {"5000", "24:00:00"}, {" 45 ", "00:45:00"}, {"+90", "01:30:00"},
        {"99999999999999", "00:25:00"},
    };
    start();
    for (const auto& c : cases) {
        SCOPED_TRACE("\"" + c.typed + "\"");
        alerts.answerWith([&](platform::Alert& alert) {
            auto field = std::dynamic_pointer_cast<platform::TextField>(alert.accessoryView);
            EXPECT_TRUE(field);
            if (field) field->setStringValue(c.typed);
            return platform::ModalResponses::alertFirstButton;
        });
        delegate().startCustomPomodoro();
        menuBar.click(*delegate().statusItem());
        EXPECT_EQ(menus.openMenu()->item(3)->displayedTitle(), "关闭这个番茄闹钟 · " + c.shown);
        menus.dismiss();
    }
    // Cancel starts nothing new.
    const std::size_t before = alerts.count();
    alerts.answer(platform::ModalResponses::alertSecondButton);
    delegate().startDefaultPomodoro();  // stops the running one
    delegate().startCustomPomodoro();
    EXPECT_EQ(alerts.count(), before + 1);
    EXPECT_EQ(alerts.last().messageText, "自定义番茄时间…");
    menuBar.click(*delegate().statusItem());
    EXPECT_EQ(menus.openMenu()->item(3)->displayedTitle(), "开启一个番茄闹钟");
}

TEST_F(StatusMenuActionsTest, SaveWorkspaceAsksForANameAndListsTheLayoutAtTheNextOpening) {
    desktop.accessibility().setTrusted(true);
    ASSERT_TRUE(setup.addApplication({.bundleIdentifier = "com.example.editor",
                                      .name = "Editor",
                                      .launchWindows = {{.title = "Notes", .frame = {100, 100, 800, 600}}}}));
    launch();
    runUntilIdle();
    ASSERT_TRUE(delegate().mainWindowController());
    std::string offered;
    alerts.answerWith([&](platform::Alert& alert) {
        auto field = std::dynamic_pointer_cast<platform::TextField>(alert.accessoryView);
        EXPECT_TRUE(field);
        if (!field) return platform::ModalResponses::alertSecondButton;
        offered = field->stringValue();
        field->setStringValue("晨会");
        return platform::ModalResponses::alertFirstButton;
    });
    menuBar.click(*delegate().statusItem());
    ASSERT_TRUE(menus.choose("保存工作区位置"));
    ASSERT_EQ(alerts.count(), 1u);
    EXPECT_EQ(alerts.last().messageText, "保存当前工作区");
    EXPECT_EQ(offered.size(), 10u) << "the date and time as yyMMddHHmm: " << offered;
    EXPECT_EQ(delegate().mainWindowController()->statusText(), "已保存当前工作区。");

    menuBar.click(*delegate().statusItem());
    auto restore = menus.openMenu()->item(7)->submenu();
    ASSERT_TRUE(restore);
    ASSERT_EQ(restore->numberOfItems(), 1u);
    EXPECT_EQ(restore->item(0)->displayedTitle(), "晨会");
    EXPECT_TRUE(restore->item(0)->canBeChosen());
}

TEST_F(StatusMenuActionsTest, PinFailuresAreExplainedAndOnlyTheMissingTrustPrompts) {
    struct Case {
        const char* name;
        bool trusted;
        bool captureAllowed;
        int prompts;
        std::string message;
    } cases[] = {
        {"no Accessibility", false, true, 1, "请先允许辅助功能权限，再重新钉住窗口。"},
        {"no screen recording", true, false, 0, "请在系统设置中允许屏幕与系统音频录制，然后重新钉住窗口。"},
        {"no window in front", true, true, 0, "没有找到刚才使用的窗口。请先点击目标窗口，再打开菜单。"},
    };
    start();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        desktop.accessibility().setTrusted(c.trusted);
        desktop.windowServer().setScreenCaptureAllowed(c.captureAllowed);
        const int promptsBefore = desktop.accessibility().promptCount();
        const std::size_t before = alerts.count();
        menuBar.click(*delegate().statusItem());
        ASSERT_TRUE(menus.choose("钉住当前窗口（只读镜像）"));
        EXPECT_EQ(desktop.accessibility().promptCount() - promptsBefore, c.prompts);
        ASSERT_EQ(alerts.count(), before + 1);
        EXPECT_EQ(alerts.last().messageText, "无法钉住窗口");
        EXPECT_EQ(alerts.last().informativeText, c.message);
        EXPECT_FALSE(delegate().windowPinController()->pinnedWindow);
    }
}

}  // namespace
}  // namespace tallowmere::testing
