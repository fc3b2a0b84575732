#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "platform/gfx/cairo_canvas.h"
#include "platform/gfx/png.h"
#include "platform/system/files.h"
#include "support/desktop/desktop_fixture.h"
#include "support/web/local_web_server.h"
#include "support/web/web_test.h"
#include "webpanel/menu_bar_web_controller.h"
#include "webpanel/menu_bar_web_panel.h"

namespace tallowmere::testing {

// The web panel on the real engine, with the test pages served from 127.0.0.1.
class MenuBarWebPanelEngineTest : public DesktopTest {
protected:
    void SetUp() override {
        const auto failure = startWebEngine();
        ASSERT_TRUE(failure.empty()) << failure;
        ASSERT_TRUE(server.isRunning()) << server.failure();
    }

    MenuBarWebController& controller() { return MenuBarWebController::shared(); }

    // Runs a script in the panel's page and gives its JSON value.
    std::string evaluate(const std::string& script) {
        std::optional<std::string> result;
        controller().webView()->evaluateJavaScript(script, [&](std::optional<std::string> value, std::string error) {
            result = value ? *value : "error: " + error;
        });
        EXPECT_TRUE(waitUntil([&] { return result.has_value(); })) << script;
        return result.value_or("");
    }

    bool pageFinished(const std::string& path) {
        auto view = controller().webView();
        return view && !view->isLoading() && view->url() && view->url()->path() == path;
    }

    void writePicture(const std::string& name) {
        const std::string folder = std::string(TALLOWMERE_BINARY_DIR) + "/webpanel-pictures";
        std::filesystem::create_directories(folder);
        auto panel = controller().panel();
        panel->contentView()->layoutSubtreeIfNeeded();
        auto canvas = platform::CairoCanvas::make(panel->frame().size);
        ASSERT_TRUE(canvas);
        panel->contentView()->display(**canvas);
        auto png = platform::encodePng((*canvas)->bitmap());
        ASSERT_TRUE(png);
        ASSERT_TRUE(platform::Files::writeAtomically(folder + "/" + name + ".png", *png));
    }

    LocalWebServer server{testPagesFolder()};
};

}  // namespace tallowmere::testing
