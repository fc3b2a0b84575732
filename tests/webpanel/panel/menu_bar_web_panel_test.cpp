#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/cairo_canvas.h"
#include "platform/gfx/png.h"
#include "platform/system/files.h"
#include "platform/system/user_defaults.h"
#include "platform/ui/status_bar_button.h"
#include "platform/ui/status_item.h"
#include "support/desktop/desktop_fixture.h"
#include "webpanel/menu_bar_web_address.h"
#include "webpanel/menu_bar_web_controller.h"
#include "webpanel/menu_bar_web_panel.h"
#include "webpanel/menu_bar_web_panel_layout.h"
#include "webpanel/menu_bar_web_stored_state.h"

namespace tallowmere {
namespace {

using platform::ScreenPoint;
using platform::ScreenRect;
using platform::Size;

class MenuBarWebPanelTest : public testing::DesktopTest {};

TEST_F(MenuBarWebPanelTest, ThePanelDropsUnderThePointerJustBelowTheMenuBar) {
    auto second = setup.addScreen({.frame = {1440, 0, 1920, 1080}, .isBuiltIn = false});
    const auto primaryVisible = setup.primaryScreen()->visibleFrame();
    const auto secondVisible = second->visibleFrame();
    struct Case {
        const char* name;
        ScreenPoint mouse;
        Size panel;
        ScreenPoint expected;
    } cases[] = {
        {"right edge 42 pt right of the pointer", {700, 880}, {290, 400},
         {700 - 290 + 42, primaryVisible.maxY() - 400 - 8}},
        {"kept 10 pt inside the left edge", {20, 880}, {290, 400}, {10, primaryVisible.maxY() - 400 - 8}},
        {"kept 10 pt inside the right edge", {1435, 880}, {290, 400}, {1440 - 290 - 10, primaryVisible.maxY() - 408}},
        {"too wide: the right margin wins", {700, 880}, {1500, 400}, {1440 - 1500 - 10, primaryVisible.maxY() - 408}},
        {"too high: 8 pt above the bottom", {700, 880}, {290, 2000}, {700 - 290 + 42, primaryVisible.minY() + 8}},
        {"on the second screen", {2000, 500}, {290, 400}, {2000 - 290 + 42, secondVisible.maxY() - 408}},
        {"outside every screen: the main screen", {-500, -500}, {290, 400}, {10, primaryVisible.maxY() - 408}},
    };
    auto& controller = MenuBarWebController::shared();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto panel = platform::Window::make<MenuBarWebPanel>(ScreenRect{0, 0, c.panel.width, c.panel.height},
                                                             platform::WindowStyleMask{});
        mouse.moveTo(c.mouse);
        controller.positionPanel(*panel);
        EXPECT_DOUBLE_EQ(panel->frame().origin.x, c.expected.x);
        EXPECT_DOUBLE_EQ(panel->frame().origin.y, c.expected.y);
        EXPECT_EQ(panel->frame().size, c.panel);
    }
}

TEST(MenuBarWebStoredStateTest, AStoredSizeIsUsedOnlyWhenItIsARealSizeAboveOnePoint) {
    struct Case {
        std::optional<std::string> stored;
        Size expected;
    } cases[] = {
        {std::nullopt, {290, 400}},
        {"{320, 480}", {320, 480}},
        {"{320.5,480}", {320.5, 480}},
        {"{0, 0}", {290, 400}},
        {"{1, 400}", {290, 400}},
        {"{-300, 400}", {290, 400}},
        {"{nan, 400}", {290, 400}},
        {"{1e400, 400}", {290, 400}},
        {"garbage", {290, 400}},
        {"{320, 480", {290, 400}},
        {"{320, 480, 5}", {290, 400}},
        {"", {290, 400}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored.value_or("(absent)"));
        EXPECT_EQ(MenuBarWebStoredState::panelSize(c.stored), c.expected);
    }
    EXPECT_EQ(MenuBarWebStoredState::stringFromSize({290, 400}), "{290, 400}");
    EXPECT_EQ(MenuBarWebStoredState::sizeFromString(MenuBarWebStoredState::stringFromSize({333.25, 401})),
              (Size{333.25, 401}));
}

TEST(MenuBarWebStoredStateTest, SitesDecodeOnlyWithEveryFieldInPlace) {
    const std::string good =
        R"([{"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","name":"Docs","url":"https://example.org/"}])";
    const auto sites = MenuBarWebStoredState::decodeSites(good);
    ASSERT_TRUE(sites);
    ASSERT_EQ(sites->size(), 1u);
    EXPECT_EQ(sites->front().name, "Docs");
    EXPECT_EQ(MenuBarWebStoredState::encodeSites(*sites), good);
    for (const char* bad : {R"([{"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","name":"Docs"}])",
                            R"([{"id":"not-a-uuid","name":"Docs","url":"https://example.org/"}])",
                            R"([{"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","name":7,"url":"https://x.org/"}])",
                            R"({"id":"x"})", "[1]", "not json"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(MenuBarWebStoredState::decodeSites(bad));
    }
}

TEST(MenuBarWebAddressTest, OnlyWebAddressesWithAHostNormalise) {
    struct Case {
        const char* text;
        std::optional<std::string> expected;
    } cases[] = {
        {"example.org", "https://example.org"},
        {"  http://127.0.0.1:8080/a?b=1 \n", "http://127.0.0.1:8080/a?b=1"},
        {"HTTPS://Example.org/x", "HTTPS://Example.org/x"},
        {"ftp://x", std::nullopt},
        {"two words", std::nullopt},
        {"https://a b.example/", std::nullopt},
        {"https://a%20b.example/", std::nullopt},
        {"https://例子.测试/路径", "https://%E4%BE%8B%E5%AD%90.%E6%B5%8B%E8%AF%95/%E8%B7%AF%E5%BE%84"},
        {"http://[::1]:8080/", "http://[::1]:8080/"},
        {"javascript:alert(1)", std::nullopt},
        {"file:///etc/passwd", std::nullopt},
        {"https://", std::nullopt},
        {"   ", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto url = normalizedURL(c.text);
        EXPECT_EQ(url ? std::optional<std::string>(url->string()) : std::nullopt, c.expected);
    }
}

TEST(MenuBarWebSeekSliderTest, AClickStandsForItsPlaceBetweenTheEightPointInsets) {
    struct Case {
        double x;
        double fraction;
    } cases[] = {{0, 0}, {8, 0}, {58, 0.5}, {108, 1}, {200, 1}, {33, 0.25}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.x);
        EXPECT_DOUBLE_EQ(MenuBarWebSeekSlider::fraction(c.x, 116), c.fraction);
    }
    // A slider narrower than its insets still gives a fraction in range.
    EXPECT_DOUBLE_EQ(MenuBarWebSeekSlider::fraction(9, 4), 1);
}

TEST(MenuBarWebPanelLayoutTest, EveryPartStaysInsideThePanelAtAnySize) {
    const auto normal = MenuBarWebPanelFrames::compute({290, 400}, 0);
    EXPECT_EQ(normal.toolbar, (platform::Rect{0, 0, 290, 52}));
    EXPECT_EQ(normal.back, (platform::Rect{12, 19, 28, 28}));
    EXPECT_EQ(normal.address, (platform::Rect{12 + 4 * 28 + 3 * 2 + 8, 19, 290 - 212, 28}));
    EXPECT_DOUBLE_EQ(normal.external.maxX(), 280);
    EXPECT_EQ(normal.webView, (platform::Rect{0, 52, 290, 348}));
    const auto playing = MenuBarWebPanelFrames::compute({290, 400}, 38);
    EXPECT_EQ(playing.playbackBar, (platform::Rect{0, 362, 290, 38}));
    EXPECT_EQ(playing.webView.maxY(), 362);
    EXPECT_EQ(playing.skipAd, (platform::Rect{290 - 8 - 96, 7, 96, 24}));
    EXPECT_DOUBLE_EQ(playing.slider.minX(), 36);
    EXPECT_DOUBLE_EQ(playing.slider.maxX(), 290 - 8 - 96 - 8);

    for (const Size size : {Size{1, 1}, Size{100, 30}, Size{150, 400}, Size{4000, 3000}}) {
        SCOPED_TRACE(size.width);
        const auto f = MenuBarWebPanelFrames::compute(size, 38);
        for (const auto& rect : {f.toolbar, f.back, f.forward, f.reload, f.home, f.address, f.pin, f.external,
                                 f.webView, f.playbackBar, f.slider, f.skipAd}) {
            EXPECT_GE(rect.size.width, 0);
            EXPECT_GE(rect.size.height, 0);
        }
        EXPECT_LE(f.external.maxX(), size.width);
        EXPECT_GE(f.back.minX(), 0);
        EXPECT_LE(f.webView.maxY(), size.height);
        EXPECT_LE(f.back.maxX(), f.forward.minX());
        EXPECT_LE(f.address.maxX(), f.pin.minX());
    }
}

TEST_F(MenuBarWebPanelTest, AtFirstLaunchOnlyTheWebItemShowsAndNeitherItemTakesAClickFromItsButton) {
    auto& controller = MenuBarWebController::shared();
    controller.installStatusItems();
    ASSERT_TRUE(controller.webStatusItem());
    EXPECT_TRUE(controller.webStatusItem()->isVisible());
    EXPECT_FALSE(controller.playbackStatusItem()->isVisible());
    EXPECT_EQ(controller.webStatusItem()->autosaveName(), "Tallowmere.WebIndependent");
    EXPECT_EQ(controller.playbackStatusItem()->autosaveName(), "Tallowmere.WebPlaybackIndependent");
    EXPECT_EQ(controller.webStatusItem()->button()->toolTip(), "Menu Bar Browser");
    EXPECT_TRUE(controller.isPinned());
    EXPECT_FALSE(controller.currentHomeURL());

    const auto center = controller.webStatusItem()->frame().center();
    EXPECT_TRUE(controller.isStatusControl(center));
    EXPECT_FALSE(controller.isStatusControl(controller.playbackStatusItem()->frame().center()));
    auto button = controller.webStatusItem()->button();
    EXPECT_EQ(button->hitTest(button->convert(button->bounds().center(), button->superview().get())), button)
        << "the drawing over the button took the click";
}

TEST_F(MenuBarWebPanelTest, ARelaunchBringsBackPinMediaAndTheLastAddressThatNormalises) {
    auto& defaults = platform::UserDefaults::standard();
    defaults.set(MenuBarWebController::pinnedStateKey, false);
    defaults.set(MenuBarWebController::lastURLKey, std::string("http://127.0.0.1:9/page"));
    defaults.set(MenuBarWebController::lastMediaAvailableKey, true);
    defaults.set(MenuBarWebController::lastMediaPlayingKey, true);
    auto& controller = MenuBarWebController::shared();
    controller.installStatusItems();
    EXPECT_FALSE(controller.isPinned());
    ASSERT_TRUE(controller.currentHomeURL());
    EXPECT_EQ(controller.currentHomeURL()->string(), "http://127.0.0.1:9/page");
    EXPECT_TRUE(controller.hasWebMedia());
    EXPECT_TRUE(controller.wantsWebMediaPlaying());
    EXPECT_TRUE(controller.pendingPlaybackAfterLoad());
    EXPECT_FALSE(controller.isWebMediaPlaying());
    EXPECT_TRUE(controller.playbackStatusItem()->isVisible()) << "the playback item shows at once";
    EXPECT_EQ(controller.playbackStatusButton()->toolTip(), "Play Web Media");
}

TEST_F(MenuBarWebPanelTest, ALastAddressThatDoesNotNormaliseGivesNoHomePage) {
    platform::UserDefaults::standard().set(MenuBarWebController::lastURLKey, std::string("javascript:alert(1)"));
    EXPECT_FALSE(MenuBarWebController::shared().currentHomeURL());
    EXPECT_TRUE(MenuBarWebController::shared().isPinned());
}

// The two items as the menu bar shows them, light and dark, plain and
// pressed, for a person to look at.
TEST_F(MenuBarWebPanelTest, TheItemsDrawTheirMarksInYellowWhateverTheMenuBar) {
    platform::UserDefaults::standard().set(MenuBarWebController::lastMediaAvailableKey, true);
    auto& controller = MenuBarWebController::shared();
    controller.installStatusItems();
    const std::string folder = std::string(TALLOWMERE_BINARY_DIR) + "/webpanel-pictures";
    std::filesystem::create_directories(folder);
    for (const auto appearance : {platform::Appearance::light, platform::Appearance::dark}) {
        for (const bool highlighted : {false, true}) {
            const std::string name = std::string(appearance == platform::Appearance::dark ? "dark" : "light") +
                                     (highlighted ? "-highlighted" : "");
            SCOPED_TRACE(name);
            auto made = platform::CairoCanvas::make({70, 24});
            ASSERT_TRUE(made);
            auto& canvas = *made;
            {
                canvas->setAppearance(appearance);
                canvas->setFillColor(appearance == platform::Appearance::dark ? platform::Color::sRGB(0.15, 0.15, 0.15)
                                                                             : platform::Color::sRGB(0.93, 0.93, 0.94));
                canvas->fillRect({0, 0, 70, 24});
                for (const auto& [item, x] : {std::pair{controller.webStatusItem(), 2.0},
                                              std::pair{controller.playbackStatusItem(), 36.0}}) {
                    auto button = item->button();
                    button->setHighlighted(highlighted);
                    canvas->save();
                    canvas->translate(x - button->frame().origin.x, 0);
                    button->display(*canvas);
                    canvas->restore();
                }
            }
            const platform::Bitmap bitmap = canvas->bitmap();
            auto png = platform::encodePng(bitmap);
            ASSERT_TRUE(png);
            ASSERT_TRUE(platform::Files::writeAtomically(folder + "/status-items-" + name + ".png", *png));
            // The play mark of the web item and the playback glyph are yellow.
            const auto yellowish = [&](int left, int right) {
                for (int y = 0; y < 24; ++y) {
                    for (int x = left; x < right; ++x) {
                        const auto p = bitmap.pixel(x, y);
                        if (p.red > 200 && p.green > 150 && p.green < 210 && p.blue < 110) return true;
                    }
                }
                return false;
            };
            EXPECT_TRUE(yellowish(2, 34));
            EXPECT_TRUE(yellowish(36, 66));
        }
    }
}

}  // namespace
}  // namespace tallowmere
