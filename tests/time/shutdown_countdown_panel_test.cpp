// Writes renderings/time/shutdown_panel.png under the build folder.
#include "time/shutdown_countdown_panel.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "localization/interface_language.h"
#include "platform/gfx/cairo_canvas.h"
#include "platform/gfx/pango_text_measurer.h"
#include "platform/gfx/png.h"
#include "platform/ui/screen_snapshot.h"
#include "platform/ui/window.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere::testing {
namespace {

class ShutdownCountdownPanelTest : public DesktopTest {};

TEST_F(ShutdownCountdownPanelTest, CountsInTheInterfaceLanguageAndRunsOnceAtZero) {
    struct Case {
        InterfaceLanguage language;
        const char* afterOneSecond;
    } cases[] = {
        {InterfaceLanguage::simplifiedChinese, "19 秒后将自动关机"},
        {InterfaceLanguage::cantonese, "19 秒后将自动关机"},
        {InterfaceLanguage::english, "Shutting down in 19 seconds"},
        {InterfaceLanguage::german, "Shutting down in 19 seconds"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.afterOneSecond);
        InterfaceLanguage::setCurrent(c.language);
        auto panel = std::make_shared<ShutdownCountdownPanel>();
        int ran = 0;
        panel->show(20, [&] { ++ran; });
        advance(1);
        EXPECT_EQ(ShutdownCountdownPanel::countdownText(panel->remainingSeconds()), c.afterOneSecond);
        advance(19);
        EXPECT_EQ(ran, 1);
        EXPECT_FALSE(panel->isShown());
        advance(5);
        EXPECT_EQ(ran, 1);
    }
}

TEST_F(ShutdownCountdownPanelTest, RendersThePanel) {
    InterfaceLanguage::setCurrent(InterfaceLanguage::simplifiedChinese);
    context().setShared<platform::TextMeasurer>(std::make_shared<platform::PangoTextMeasurer>());
    auto panel = std::make_shared<ShutdownCountdownPanel>();
    panel->show(20, [] {});
    ASSERT_TRUE(panel->isShown());
    const auto frame = panel->panel()->frame();
    auto made = platform::CairoCanvas::make({frame.width(), frame.height()}, 2);
    ASSERT_TRUE(made.ok());
    auto& canvas = **made;
    canvas.setFillColor(platform::ScreenSnapshot::desktopColor);
    canvas.fillRect({0, 0, frame.width(), frame.height()});
    canvas.translate(-frame.minX(), -frame.minY());
    platform::ScreenSnapshot::drawOwnWindow(canvas, *panel->panel());
    const auto folder = std::filesystem::path(TALLOWMERE_BINARY_DIR) / "renderings" / "time";
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(platform::writePng(canvas.bitmap(), folder / "shutdown_panel.png").ok());
}

}  // namespace
}  // namespace tallowmere::testing
