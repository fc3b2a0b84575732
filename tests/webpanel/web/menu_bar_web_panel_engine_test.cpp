#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "platform/gfx/cairo_canvas.h"
#include "platform/gfx/png.h"
#include "platform/system/files.h"
#include "platform/system/user_defaults.h"
#include "platform/ui/status_bar_button.h"
#include "platform/ui/status_item.h"
#include "platform/ui/text_field.h"
#include "support/desktop/desktop_fixture.h"
#include "support/web/local_web_server.h"
#include "support/web/web_test.h"
#include "webpanel/web/menu_bar_web_engine_fixture.h"
#include "webpanel/menu_bar_web_controller.h"
#include "webpanel/menu_bar_web_panel.h"

namespace tallowmere {
namespace {

using platform::ScreenPoint;
using platform::UserDefaults;
using testing::waitUntil;

using testing::MenuBarWebPanelEngineTest;

TEST_F(MenuBarWebPanelEngineTest, TheWebItemShowsTheStartPageAtFirstLaunch) {
    controller().installStatusItems();
    menuBar.click(*controller().webStatusItem());
    ASSERT_TRUE(controller().panel());
    ASSERT_TRUE(controller().webView());
    EXPECT_TRUE(controller().isPanelPresented());
    EXPECT_TRUE(controller().isShowingCustomHome());
    EXPECT_EQ(controller().addressField()->stringValue(), "首页");
    EXPECT_TRUE(controller().panel()->isKeyWindow());
    ASSERT_TRUE(waitUntil([&] { return !controller().webView()->isLoading(); }));
    EXPECT_EQ(evaluate("document.querySelector('.empty').textContent"), "\"还没有添加网页\"");
    EXPECT_FALSE(controller().externalButton()->isEnabled()) << "the start page cannot open in a browser";
}

TEST_F(MenuBarWebPanelEngineTest, APagePresentedUnderThePointerLoadsOnceAndRunsOnWhileHidden) {
    controller().installStatusItems();
    mouse.moveTo({900, 880});
    const auto url = *platform::Url::parse(server.url("/counter.html"));
    controller().present(url, false);
    ASSERT_TRUE(waitUntil([&] { return pageFinished("/counter.html"); }));
    const auto frame = controller().panel()->frame();
    EXPECT_DOUBLE_EQ(frame.origin.x, 900 - 290 + 42);
    EXPECT_DOUBLE_EQ(frame.size.width, 290);
    EXPECT_EQ(controller().addressField()->stringValue(), url.string());
    EXPECT_EQ(evaluate("navigator.userAgent"), std::string("\"") + MenuBarWebController::mobileUserAgent + "\"");

    controller().present(url, false);
    testing::runEngineFor(0.2);
    EXPECT_EQ(server.requestCount("/counter.html"), 1) << "presenting the page shown reloaded it";

    auto& defaults = UserDefaults::standard();
    mouse.click(controller().webStatusItem()->frame().center());
    EXPECT_FALSE(controller().isPanelPresented()) << "the web item's own click hides the panel";
    menuBar.click(*controller().webStatusItem());
    ASSERT_TRUE(controller().isPanelPresented());

    // A click in the panel's page reaches it as the person's own.
    const auto shown = controller().panel()->frame();
    const ScreenPoint inPage{shown.minX() + 40, shown.maxY() - 52 - 30};
    mouse.click(inPage);
    ASSERT_TRUE(waitUntil([&] { return evaluate("window.lastPress ? 1 : 0") == "1"; }));
    const auto press = nlohmann::json::parse(evaluate("window.lastPress"));
    EXPECT_TRUE(press["trusted"].get<bool>());
    EXPECT_TRUE(controller().isPanelPresented()) << "a click inside the panel hid it";

    // An outside click hides it by transparency alone: the page runs on.
    mouse.click({100, 300});
    EXPECT_FALSE(controller().isPanelPresented());
    EXPECT_TRUE(controller().panel()->isVisible());
    EXPECT_EQ(controller().panel()->alphaValue(), 0);
    EXPECT_TRUE(controller().panel()->ignoresMouseEvents());
    const int before = std::stoi(evaluate("window.ticks"));
    ASSERT_TRUE(waitUntil([&] { return std::stoi(evaluate("window.ticks")) >= before + 5; }))
        << "the hidden page stopped";
    EXPECT_EQ(defaults.string(MenuBarWebController::panelSizeKey), "{290, 400}");
    EXPECT_EQ(defaults.string(MenuBarWebController::lastURLKey), url.string());
}

TEST_F(MenuBarWebPanelEngineTest, ARestartRestoresPinSizeAndTheLastPage) {
    auto& defaults = UserDefaults::standard();
    defaults.set(MenuBarWebController::pinnedStateKey, false);
    defaults.set(MenuBarWebController::panelSizeKey, std::string("{360, 520}"));
    defaults.set(MenuBarWebController::lastURLKey, server.url("/basic.html"));
    defaults.set(MenuBarWebController::lastMediaAvailableKey, true);
    controller().installStatusItems();
    EXPECT_FALSE(controller().isPinned());
    menuBar.click(*controller().webStatusItem());
    ASSERT_TRUE(controller().panel());
    EXPECT_EQ(controller().panel()->frame().size, (platform::Size{360, 520}));
    ASSERT_TRUE(waitUntil([&] { return pageFinished("/basic.html"); }));
    EXPECT_EQ(server.requestCount("/basic.html"), 1);
    EXPECT_EQ(controller().pinButton()->toolTip(), "置顶");
    mouse.click(controller().playbackStatusItem()->frame().center());
    EXPECT_TRUE(controller().isPanelPresented()) << "a click on the playback item hid the panel";

    controller().togglePin();
    EXPECT_TRUE(defaults.boolean(MenuBarWebController::pinnedStateKey));
    EXPECT_EQ(controller().pinButton()->toolTip(), "取消置顶");
}

TEST_F(MenuBarWebPanelEngineTest, ThePanelOnALocalPagePlainAndGray) {
    controller().installStatusItems();
    controller().present(*platform::Url::parse(server.url("/counter.html")), false);
    ASSERT_TRUE(waitUntil([&] { return pageFinished("/counter.html"); }));
    ASSERT_TRUE(waitUntil([&] {
        const auto pixel = controller().webView()->pagePicture().pixel(100, 300);
        return pixel.blue == 200 && pixel.red == 30;
    }));
    writePicture("panel-plain");
    controller().toggleGrayscale(nullptr);
    const auto gray = controller().webView()->pagePicture().pixel(100, 300);
    EXPECT_EQ(gray.red, gray.blue);
    writePicture("panel-gray");
    controller().toggleGrayscale(nullptr);
    EXPECT_FALSE(controller().webView()->saturationFilter());
}

TEST_F(MenuBarWebPanelEngineTest, OnlyWebPagesOpenInTheBrowserAndEscHidesThePanel) {
    controller().installStatusItems();
    controller().present(*platform::Url::parse(server.url("/basic.html")), false);
    ASSERT_TRUE(waitUntil([&] { return pageFinished("/basic.html"); }));
    EXPECT_TRUE(controller().externalButton()->isEnabled());
    controller().openExternally();
    ASSERT_EQ(desktop.workspace().openedURLs().size(), 1u);

    controller().webView()->loadHTMLString("<title>data</title>", platform::Url::parse("file:///tmp/page.html"));
    ASSERT_TRUE(waitUntil([&] { return controller().webView()->url() && controller().webView()->url()->scheme() == "file"; }));
    controller().updateNavigationButtons();
    EXPECT_FALSE(controller().externalButton()->isEnabled());
    controller().openExternally();
    EXPECT_EQ(desktop.workspace().openedURLs().size(), 1u) << "a file address went to the browser";

    keyboard.press(platform::KeyCode::escape);
    EXPECT_FALSE(controller().isPanelPresented());
}

}  // namespace
}  // namespace tallowmere
