// Pictures a person can look at, written under the build folder with the
// machine's real fonts, in Simplified Chinese and English, light and dark:
//   renderings/mainwindow/cards-<language>-<appearance>.png   page 1 with an
//       entry of every kind (the website selected) and two saved layouts
//   renderings/mainwindow/<dialog>-<language>-<appearance>.png   the add and
//       edit dialogs of websites and information
//   renderings/mainwindow/running-applications-<language>-<appearance>.png
#include <gtest/gtest.h>

#include <filesystem>

#include "mainwindow/program_main_window_fixture.h"
#include "platform/desktop/simulated_application.h"
#include "platform/gfx/cairo_canvas.h"
#include "platform/gfx/pango_text_measurer.h"
#include "platform/gfx/png.h"
#include "platform/ui/screen_snapshot.h"
#include "windows/layout_store.h"

namespace tallowmere::testing {
namespace {

namespace ModalResponses = platform::ModalResponses;

const std::filesystem::path renderings = std::filesystem::path(TALLOWMERE_BINARY_DIR) / "renderings" / "mainwindow";
constexpr double scale = 2;

// The interface is built in the language of the launch: one launch per language.
class QuickLaunchCardRenderingTest : public ProgramMainWindowTest,
                                     public ::testing::WithParamInterface<InterfaceLanguage::Value> {
protected:
    void SetUp() override {
        std::filesystem::create_directories(renderings);
        context().setShared<platform::TextMeasurer>(std::make_shared<platform::PangoTextMeasurer>());
    }

    // The window as the screen shows it, moved to the screen's origin to
    // be drawn; false when nothing could be drawn.
    static bool drawWindow(platform::Window& window, const std::string& name) {
        window.setFrameOrigin({0, 0});
        const auto size = window.frame().size;
        auto made = platform::CairoCanvas::make({size.width, size.height}, scale);
        if (!made.ok()) return false;
        platform::ScreenSnapshot::drawOwnWindow(**made, window);
        return platform::writePng((*made)->bitmap(), renderings / name).ok();
    }
};

TEST_P(QuickLaunchCardRenderingTest, TheCardsDialogsAndMenuInLightAndDark) {
    const InterfaceLanguage language = GetParam();
    InterfaceLanguage::setCurrent(language);
    setup.grantAccessibility();
    auto editor = setup.addApplication({.bundleIdentifier = "com.example.editor", .name = "Editor"});
    editor->addWindow({.title = "notes", .frame = {100, 100, 800, 600}});
    setup.addApplication({.bundleIdentifier = "com.example.app10", .name = "App 10"});
    setup.addApplication({.bundleIdentifier = "com.example.app2", .name = "App 2"});
    std::filesystem::create_directories(home() / "Documents");
    storeQuickLaunchEntries({entry(QuickLaunchKind::application, "Editor", "/Applications/Editor.app"),
                             entry(QuickLaunchKind::website, "Example", "https://example.com", "firefox"),
                             entry(QuickLaunchKind::information, "收货地址", "北京市海淀区"),
                             entry(QuickLaunchKind::file, "Documents", (home() / "Documents").string()),
                             entry(QuickLaunchKind::newFile, "新建文本", "")});
    launch({"--finder-action"});
    runUntilIdle();
    ASSERT_TRUE(delegate().layoutStore()->capture("工作台").ok());
    ASSERT_TRUE(delegate().layoutStore()->capture("会议").ok());

    for (const auto appearance : {platform::Appearance::light, platform::Appearance::dark}) {
        application.setAppearance(appearance);
        const std::string suffix = "-" + std::string(language.rawValue()) +
                                   (appearance == platform::Appearance::dark ? "-dark" : "-light") + ".png";
        SCOPED_TRACE(suffix);
        auto& controller = openMainWindow();
        pressIcon(controller, 1);
        controller.refreshLayouts();
        // At the screen's origin, as drawn, 1440 wide and tall enough for
        // all of page 1; laid out twice: the columns regroup for the width,
        // then the cards settle in them.
        auto window = controller.window();
        window->setMinSize({1, 1});
        window->setFrame({0, 0, 1440, 900});
        window->contentView()->layoutSubtreeIfNeeded();
        const double height = controller.mainLayoutRoot()->fittingHeightForWidth(1440 - 60) + 26 + 14 + 20;
        window->setFrame({0, 0, 1440, height});
        window->contentView()->layoutSubtreeIfNeeded();
        window->contentView()->layoutSubtreeIfNeeded();
        EXPECT_TRUE(drawWindow(*window, "cards" + suffix));

        const char* dialogs[] = {"add-website", "edit-website", "add-information", "edit-information"};
        for (const char* dialog : dialogs) {
            alerts.answerWith([dialog, suffix](platform::Alert& shown) {
                EXPECT_TRUE(drawWindow(*shown.window(), std::string(dialog) + suffix));
                return ModalResponses::alertFirstButton + 1;
            });
        }
        controller.addQuickWebsite();
        controller.editQuickWebsite(store().entries()[1]);
        controller.addQuickInformation();
        controller.editQuickInformation(store().entries()[2]);
        EXPECT_EQ(alerts.unansweredScriptCount(), 0u);

        cardButton(controller, "+" + std::string(L("应用")))->performClick();
        ASSERT_TRUE(menus.isOpen());
        EXPECT_TRUE(platform::ScreenSnapshot::writePng(renderings / ("running-applications" + suffix), nullptr, scale).ok());
        menus.dismiss();
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, QuickLaunchCardRenderingTest,
                         ::testing::Values(InterfaceLanguage::simplifiedChinese, InterfaceLanguage::english));

}  // namespace
}  // namespace tallowmere::testing
