#include <gtest/gtest.h>

#include "app/app_delegate_fixture.h"
#include "app/status_menu_links.h"
#include "localization/interface_language_preference.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/system_settings_application.h"
#include "platform/system/bundle.h"
#include "platform/system/command_table.h"
#include "platform/ui/application.h"
#include "platform/ui/window.h"

namespace tallowmere::testing {
namespace {

using platform::Application;

class SmallActionsTest : public AppDelegateTest {
protected:
    MainWindowController& start() {
        setup.grantAccessibility();
        launch();
        runUntilIdle();
        return *delegate().mainWindowController();
    }
    // Records each run of "/usr/bin/open" and answers with `status`.
    void answerOpenWith(int status) {
        platform::CommandTable::shared().overrideCommand("/usr/bin/open", [this, status](platform::CommandCall& call) {
            openRuns.push_back(call.arguments());
            return status;
        });
    }
    std::vector<std::vector<std::string>> openRuns;
};

TEST_F(SmallActionsTest, AIButtonsOpenOnlyTheirOwnPage) {
    auto& controller = start();
    auto& workspace = desktop.workspace();
    struct Case {
        int tag;
        std::optional<std::string_view> opens;
    } cases[] = {{-1, std::nullopt},
                 {0, aiNavigationServices[0].address},
                 {3, aiNavigationServices[3].address},
                 {5, aiNavigationServices[5].address},
                 {6, std::nullopt}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tag);
        const auto before = workspace.openedURLs().size();
        auto button = controller.makeAINavigationButton("AI", c.tag, "AIGemini", "png");
        button->performClick();
        ASSERT_EQ(workspace.openedURLs().size() - before, c.opens ? 1u : 0u);
        if (c.opens) {
            EXPECT_EQ(workspace.openedURLs().back(), *c.opens);
        }
    }
    const auto before = workspace.openedURLs().size();
    controller.openAllAINavigation();
    const std::vector<std::string> opened(workspace.openedURLs().begin() + static_cast<long>(before),
                                          workspace.openedURLs().end());
    std::vector<std::string> expected;
    for (const auto& service : aiNavigationServices) expected.emplace_back(service.address);
    EXPECT_EQ(opened, expected) << "all six, in table order";
}

TEST_F(SmallActionsTest, WindowSettingsOpenTheFirstAddressTakenElseSayHowToGetThere) {
    auto& controller = start();
    controller.openWindowSettings();
    EXPECT_EQ(desktop.workspace().openedURLs(),
              std::vector<std::string>{"x-apple.systempreferences:com.apple.Desktop-Settings.extension?Window"});
    EXPECT_EQ(controller.statusText(), "已打开窗口设置");

    desktop.removeApplication(platform::SystemSettingsApplication::bundleIdentifier);
    controller.openWindowSettings();
    EXPECT_EQ(desktop.workspace().openedURLs(),
              (std::vector<std::string>{"x-apple.systempreferences:com.apple.Desktop-Settings.extension?Window",
                                        "x-apple.systempreferences:com.apple.Desktop-Settings.extension?Window",
                                        "x-apple.systempreferences:com.apple.preference.dock"}))
        << "the older pane is tried when the first is refused";
    EXPECT_EQ(controller.statusText(), "无法打开窗口设置，请按路径手动打开");
}

TEST_F(SmallActionsTest, TheThanksListIsASheetThatOkCloses) {
    auto& controller = start();
    auto window = controller.window();
    controller.showSupporterRoster();
    auto sheet = window->attachedSheet();
    ASSERT_TRUE(sheet) << "shown as a sheet of the main window";
    EXPECT_TRUE(sheet->isVisible());
    auto ok = std::dynamic_pointer_cast<platform::Button>(sheet->contentView()->subviews().back());
    ASSERT_TRUE(ok);
    EXPECT_EQ(ok->title(), "好");
    keyboard.press(36, "\r");
    EXPECT_FALSE(window->attachedSheet()) << "Return presses 好";
    EXPECT_FALSE(sheet->isVisible());

    window->orderOut();
    controller.showSupporterRoster();
    EXPECT_TRUE(sheet->isVisible()) << "without the window it stands on its own";
    EXPECT_FALSE(window->attachedSheet());
}

TEST_F(SmallActionsTest, TheAdvicePictureOrWhyItIsMissing) {
    auto& controller = start();
    std::optional<std::string> shownTitle;
    panels.actInModalWindow([&](platform::Window& window) {
        shownTitle = window.title();
        keyboard.press(36, "\r");
    });
    controller.statusLabel->setStringValue("");
    controller.showWindowSettingsGuide();
    EXPECT_TRUE(shownTitle) << "the picture is shown in a dialog";
    EXPECT_EQ(controller.statusText(), "");

    platform::Bundle::main().setResource("WindowSettingsGuide", "png", std::nullopt);
    controller.showWindowSettingsGuide();
    EXPECT_EQ(controller.statusText(), "设置截图暂不可用");
}

TEST_F(SmallActionsTest, ANewLanguageQuitsOnlyOnceTheNewInstanceRuns) {
    auto& controller = start();
    const auto english = InterfaceLanguage(InterfaceLanguage::english).index();

    controller.languagePopup->selectItem(InterfaceLanguage(InterfaceLanguage::simplifiedChinese).index());
    controller.languagePopup->sendAction();
    EXPECT_TRUE(openRuns.empty()) << "the language in use does nothing";

    answerOpenWith(1);
    controller.languagePopup->selectItem(english);
    controller.languagePopup->sendAction();
    ASSERT_EQ(openRuns.size(), 1u);
    EXPECT_EQ(openRuns[0], (std::vector<std::string>{"-n", desktop.currentApplication().bundlePath()}));
    advance(1);
    EXPECT_EQ(application.state(), Application::State::running) << "a relaunch that failed keeps the program";
    EXPECT_EQ(controller.statusText(), "无法重新启动，界面语言未更改");
    EXPECT_EQ(controller.languagePopup->indexOfSelectedItem(), InterfaceLanguage(InterfaceLanguage::simplifiedChinese).index());
    EXPECT_EQ(defaults().string(InterfaceLanguagePreference::key), "zh-Hans");

    answerOpenWith(0);
    controller.languagePopup->selectItem(english);
    controller.languagePopup->sendAction();
    EXPECT_EQ(defaults().string(InterfaceLanguagePreference::key), "en");
    advance(0.2);
    EXPECT_EQ(application.state(), Application::State::running);
    advance(0.1);
    EXPECT_EQ(application.state(), Application::State::terminated);
}

}  // namespace
}  // namespace tallowmere::testing
