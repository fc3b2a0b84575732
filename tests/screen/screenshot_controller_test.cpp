// Also writes a picture a person can look at, under the build folder:
//   renderings/screen/screenshot_capture.png   a captured area, as saved
#include "screen/screenshot_controller.h"

#include <filesystem>

#include "platform/desktop/desktop.h"
#include "platform/desktop/pasteboard.h"
#include "platform/gfx/png.h"
#include "platform/system/command_table.h"
#include "platform/system/locale.h"
#include "platform/ui/menu_item.h"
#include "platform/ui/window.h"
#include "screen/screenshot_toast.h"
#include "support/desktop/desktop_fixture.h"
#include "support/scoped_time_zone.h"

namespace tallowmere::testing {
namespace {

namespace fs = std::filesystem;
using platform::Date;
using platform::HotKeyService;
using platform::ScreenRect;

const fs::path renderings = fs::path(TALLOWMERE_BINARY_DIR) / "renderings" / "screen";

// 2024-03-02 09:05:07 in Shanghai (UTC+8).
constexpr double marchSecondShanghai = 1709341507;

class ScreenshotControllerTest : public DesktopTest {
protected:
    ScreenshotControllerTest() {
        fs::create_directories(home() / "Desktop");
        clock().setNow(Date::fromTimeIntervalSince1970(marchSecondShanghai));
        controller().onWillCapture = [this] { ++hookRuns; };
        auto editor = setup.addApplication({.bundleIdentifier = "com.example.editor", .name = "Editor"});
        editor->addWindow({.title = "Notes", .frame = {80, 120, 500, 300}});
        desktop().activate(*editor);
        desktop().windowServer().setScreenCaptureAllowed(true);
    }
    ScreenshotController& controller() { return ScreenshotController::shared(); }
    platform::Desktop& desktop() { return platform::Desktop::shared(); }

    // Starts a capture from the status menu's item and lets it run out.
    void captureFromMenu(std::optional<ScreenRect> area) {
        panels.dragScreenArea(area);
        auto item = platform::MenuItem::make("截图");
        controller().capture(*item);
        advance(ScreenshotController::captureDelaySeconds);
        runUntilIdle();
    }
    std::vector<std::string> desktopFiles() {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(home() / "Desktop")) names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }
    bool toastShown() {
        auto panel = ScreenshotToast::shared().panel();
        return panel && panel->isVisible();
    }

    ScopedTimeZone zone{"Asia/Shanghai"};
    int hookRuns = 0;
};

TEST_F(ScreenshotControllerTest, SavesTheDraggedAreaCopiesItAndSaysSo) {
    const ScreenRect area{60, 200, 320, 180};
    captureFromMenu(area);

    ASSERT_EQ(desktopFiles(), std::vector<std::string>{"tallowmeru_20240302090507.png"});
    const auto file = home() / "Desktop" / "tallowmeru_20240302090507.png";
    auto saved = platform::readPng(file);
    ASSERT_TRUE(saved.ok()) << saved.error().message;
    const double scale = desktop().screens().primaryScreen()->backingScaleFactor();
    auto expected = desktop().windowServer().captureScreenRect(area)->render(scale);
    ASSERT_TRUE(expected.ok());
    EXPECT_EQ(saved->pixelsWide(), 320 * scale);
    EXPECT_EQ(saved->pixelsHigh(), 180 * scale);
    EXPECT_TRUE(saved->pixels() == expected->pixels()) << "the file must hold exactly the dragged area as the screen showed it";
    fs::create_directories(renderings);
    fs::copy_file(file, renderings / "screenshot_capture.png", fs::copy_options::overwrite_existing);

    auto copied = platform::Pasteboard::general().image();
    ASSERT_TRUE(copied);
    auto copiedPixels = copied->render(1);
    ASSERT_TRUE(copiedPixels.ok());
    EXPECT_TRUE(copiedPixels->pixels() == saved->pixels()) << "the pasteboard holds the saved picture";
    ASSERT_TRUE(toastShown());
    EXPECT_EQ(ScreenshotToast::shared().panel()->frame().size.width, 280);
    EXPECT_EQ(hookRuns, 1);
    advance(0.69);
    EXPECT_TRUE(toastShown());
    advance(0.02);
    EXPECT_FALSE(toastShown());
    EXPECT_FALSE(controller().isRunning() || controller().isPending());
}

TEST_F(ScreenshotControllerTest, CapturesAtTheScaleOfTheScreenItLiesOn) {
    setup.addScreen({.frame = {1440, 0, 1280, 800}, .backingScaleFactor = 1, .isBuiltIn = false});
    captureFromMenu(ScreenRect{1500, 100, 200, 100});  // on the external screen
    captureFromMenu(ScreenRect{1400, 100, 200, 100});  // mostly on the external screen
    captureFromMenu(ScreenRect{1300, 100, 200, 100});  // mostly on the built-in one
    struct Case {
        const char* file;
        int width;
    } cases[] = {{"tallowmeru_20240302090507.png", 200},
                 {"tallowmeru_20240302090507_1.png", 200},
                 {"tallowmeru_20240302090507_2.png", 400}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        auto saved = platform::readPng(home() / "Desktop" / c.file);
        ASSERT_TRUE(saved.ok());
        EXPECT_EQ(saved->pixelsWide(), c.width);
    }
}

TEST_F(ScreenshotControllerTest, OneCaptureAtATime) {
    panels.dragScreenArea(ScreenRect{0, 0, 50, 50});
    controller().requestCapture();
    advance(0.1);
    controller().requestCapture();  // within 0.2 s
    // A request while the tool is up: the tool itself asks here.
    int askedWhileRunning = 0;
    platform::CommandTable::shared().overrideCommand(
        ScreenshotController::captureTool, [&](platform::CommandCall& call) {
            ++askedWhileRunning;
            controller().requestCapture();
            return desktop().screenCapture().run(call);
        });
    advance(0.1);
    runUntilIdle();
    advance(1);
    EXPECT_EQ(askedWhileRunning, 1) << "one capture tool for three requests";
    EXPECT_EQ(hookRuns, 1) << "the hook runs for accepted requests only";
    EXPECT_EQ(desktopFiles().size(), 1u);
    // Idle again: the next request is taken.
    panels.dragScreenArea(std::nullopt);
    controller().requestCapture();
    EXPECT_EQ(hookRuns, 2);
}

TEST_F(ScreenshotControllerTest, NamedByLocalTimeWhateverTheLocaleAndCalendar) {
    struct Case {
        const char* zone;
        std::vector<std::string> languages;
        const char* expected;
    } cases[] = {
        {"Asia/Shanghai", {"zh-Hans-CN"}, "tallowmeru_20240302090507.png"},
        {"Asia/Shanghai", {"ar-SA"}, "tallowmeru_20240302090507.png"},       // other digits
        {"Asia/Shanghai", {"th-TH"}, "tallowmeru_20240302090507.png"},       // Buddhist years
        {"America/New_York", {"en-US"}, "tallowmeru_20240301200507.png"},  // the day before there
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.zone + std::string(" ") + c.languages.front());
        ScopedTimeZone there(c.zone);
        platform::Locale::shared().setPreferredLanguages(c.languages);
        EXPECT_EQ(ScreenshotController::fileName(clock().now()), c.expected);
    }
}

TEST_F(ScreenshotControllerTest, CancellingWritesAndShowsNothing) {
    platform::Pasteboard::general().setString("before");
    captureFromMenu(std::nullopt);
    EXPECT_EQ(panels.screenAreaCount(), 1);
    EXPECT_TRUE(desktopFiles().empty()) << "no file, not even an empty one";
    EXPECT_FALSE(toastShown());
    EXPECT_EQ(platform::Pasteboard::general().string(), "before");
    EXPECT_EQ(alerts.count(), 0u);
    EXPECT_FALSE(controller().isRunning() || controller().isPending());
}

TEST_F(ScreenshotControllerTest, ASecondCaptureInTheSameSecondKeepsTheFirst) {
    captureFromMenu(ScreenRect{0, 0, 40, 40});
    captureFromMenu(ScreenRect{0, 0, 60, 60});
    captureFromMenu(ScreenRect{0, 0, 80, 80});
    EXPECT_EQ(desktopFiles(), (std::vector<std::string>{"tallowmeru_20240302090507.png",
                                                        "tallowmeru_20240302090507_1.png",
                                                        "tallowmeru_20240302090507_2.png"}));
    const double scale = desktop().screens().primaryScreen()->backingScaleFactor();
    EXPECT_EQ(platform::readPng(home() / "Desktop" / "tallowmeru_20240302090507.png")->pixelsWide(), 40 * scale)
        << "the first capture is never written over";
}

TEST_F(ScreenshotControllerTest, ARefusingPasteboardKeepsTheFileAndNamesIt) {
    platform::Pasteboard::general().setRefusesWrites(true);
    captureFromMenu(ScreenRect{0, 0, 40, 40});
    ASSERT_EQ(alerts.count(), 1u);
    EXPECT_EQ(alerts.last().messageText, "截图已保存到桌面");
    EXPECT_EQ(alerts.last().informativeText, "未能复制到剪切板，文件名：tallowmeru_20240302090507.png");
    EXPECT_FALSE(toastShown());
    EXPECT_EQ(desktopFiles().size(), 1u);
}

TEST_F(ScreenshotControllerTest, NoDesktopFolderSaysSoAndStartsNothing) {
    fs::remove_all(home() / "Desktop");
    captureFromMenu(ScreenRect{0, 0, 40, 40});
    ASSERT_EQ(alerts.count(), 1u);
    EXPECT_EQ(alerts.last().messageText, "无法获取桌面位置");
    EXPECT_EQ(alerts.last().informativeText, "请检查桌面文件夹是否可用后重试。");
    EXPECT_EQ(panels.screenAreaCount(), 0);
    EXPECT_FALSE(controller().isPending());
}

TEST_F(ScreenshotControllerTest, AMissingToolShowsItsErrorAndGoesIdle) {
    platform::CommandTable::shared().overrideCommand(ScreenshotController::captureTool, "/nonexistent/screencapture");
    captureFromMenu(ScreenRect{0, 0, 40, 40});
    EXPECT_EQ(alerts.count(), 1u);
    EXPECT_TRUE(desktopFiles().empty()) << "the held name is given back";
    EXPECT_FALSE(controller().isRunning() || controller().isPending());
}

TEST_F(ScreenshotControllerTest, HotKeyRegistersOnceAndCaptures) {
    auto& hotKeys = desktop().hotKeys();
    controller().registerShortcut();
    controller().registerShortcut();
    EXPECT_EQ(hotKeys.registeredCount(), 1u);
    EXPECT_EQ(hotKeys.handlerCount(), 1u);
    panels.dragScreenArea(ScreenRect{0, 0, 40, 40});
    keyboard.press('a', platform::ModifierFlags{platform::ModifierFlags::command});
    runUntilIdle();
    EXPECT_TRUE(controller().isPending()) << "Command+A starts a capture";
    advance(0.2);
    runUntilIdle();
    EXPECT_EQ(desktopFiles().size(), 1u);
}

TEST_F(ScreenshotControllerTest, AHotKeyTakenElsewhereIsReported) {
    desktop().hotKeys().reserveForOtherApplication(0, HotKeyService::cmdKey);
    controller().registerShortcut();
    runUntilIdle();
    ASSERT_EQ(alerts.count(), 1u);
    EXPECT_EQ(alerts.last().messageText, "截图快捷键未能注册");
    EXPECT_EQ(alerts.last().informativeText, "Command + A 可能已被其他应用占用。仍可通过菜单或 Selvane 的截图按钮使用。");
    EXPECT_EQ(alerts.last().buttons, std::vector<std::string>{"好"});
    EXPECT_FALSE(controller().hasRegisteredShortcut());
}

TEST_F(ScreenshotControllerTest, TheHandlerTakesOnlyItsOwnKey) {
    const platform::HotKeyEvent ours{ScreenshotController::hotKeyIdentifier};
    const platform::HotKeyEvent otherNumber{platform::HotKeyIdentifier{platform::fourCharCode("TBSC"), 2}};
    const platform::HotKeyEvent otherSignature{platform::HotKeyIdentifier{platform::fourCharCode("ABCD"), 1}};
    const platform::HotKeyEvent noParameter{};
    struct Case {
        const char* name;
        const platform::HotKeyEvent* event;
        HotKeyService::Status status;
    } cases[] = {
        {"ours", &ours, HotKeyService::noErr},
        {"other number", &otherNumber, HotKeyService::eventNotHandledErr},
        {"other signature", &otherSignature, HotKeyService::eventNotHandledErr},
        {"no parameter", &noParameter, HotKeyService::eventNotHandledErr},
        {"no event", nullptr, HotKeyService::eventNotHandledErr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ScreenshotController::handleHotKey(c.event), c.status);
    }
    EXPECT_EQ(ScreenshotController::hotKeyIdentifier.signature, 0x54425343u) << "'TBSC'";
    runUntilIdle();
    EXPECT_TRUE(controller().isPending()) << "only the first case starts a capture";
    EXPECT_EQ(hookRuns, 1);
}

}  // namespace
}  // namespace tallowmere::testing
