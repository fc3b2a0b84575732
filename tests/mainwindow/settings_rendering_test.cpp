// Pictures a person can look at, written under the build folder with the
// machine's real fonts, in renderings/mainwindow/:
//   page1-<language>-<appearance>-trusted.png   page 1 once trust is granted
//   chrome-guide-<language>.png                  the text-details setup guide
//   thanks-list-<language>.png                   the thanks list
// (page 1 without trust is drawn by the page-1 rendering test).
#include <gtest/gtest.h>

#include <filesystem>

#include "main_window_fixture.h"
#include "platform/desktop/desktop.h"
#include "platform/gfx/cairo_canvas.h"
#include "platform/gfx/pango_text_measurer.h"
#include "platform/gfx/png.h"
#include "platform/ui/alert.h"
#include "platform/ui/screen_snapshot.h"

namespace tallowmere::testing {
namespace {

const std::filesystem::path renderings = std::filesystem::path(TALLOWMERE_BINARY_DIR) / "renderings" / "mainwindow";

class SettingsRenderingTest : public MainWindowTest {
protected:
    void SetUp() override {
        std::filesystem::create_directories(renderings);
        context().setShared<platform::TextMeasurer>(std::make_shared<platform::PangoTextMeasurer>());
    }

    static void draw(platform::Window& window, const std::string& name) {
        window.contentView()->layoutSubtreeIfNeeded();
        const auto frame = window.frame();
        auto made = platform::CairoCanvas::make(frame.size, 2);
        ASSERT_TRUE(made.ok());
        (*made)->translate(-frame.minX(), -frame.minY());
        platform::ScreenSnapshot::drawOwnWindow(**made, window);
        EXPECT_TRUE(platform::writePng((*made)->bitmap(), renderings / name).ok());
    }
};

TEST_F(SettingsRenderingTest, TrustedPageOneChromeGuideAndThanksList) {
    setup.grantAccessibility();
    for (const auto language : {InterfaceLanguage::simplifiedChinese, InterfaceLanguage::english}) {
        const std::string code(InterfaceLanguage(language).rawValue());
        InterfaceLanguage::setCurrent(language);
        for (const auto appearance : {platform::Appearance::light, platform::Appearance::dark}) {
            application.setAppearance(appearance);
            controller_.reset();
            auto window = controller().window();
            window->setFrame({0, 0, 1440, 900});
            window->contentView()->layoutSubtreeIfNeeded();
            const double height = controller().mainLayoutRoot()->fittingHeightForWidth(1440 - 60) + 26 + 14 + 20;
            window->setFrame({0, 0, 1440, height});
            EXPECT_TRUE(controller().permissionDotView->isHidden());
            draw(*window,
                 "page1-" + code + (appearance == platform::Appearance::dark ? "-dark" : "-light") + "-trusted.png");
        }
        application.setAppearance(platform::Appearance::light);

        alerts.answerWith([&](platform::Alert& alert) {
            draw(*alert.window(), "chrome-guide-" + code + ".png");
            return platform::ModalResponse(1003);
        });
        controller().showSelvaneTextStyleGuide();
        EXPECT_EQ(alerts.count(), language == InterfaceLanguage::english ? 2u : 1u);

        controller().window()->orderFront();
        controller().showSupporterRoster();
        auto roster = controller().window()->attachedSheet();
        ASSERT_TRUE(roster);
        draw(*roster, "thanks-list-" + code + ".png");
    }
}

}  // namespace
}  // namespace tallowmere::testing
