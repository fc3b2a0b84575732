// Pictures written under the build folder, from the screen snapshot:
//   renderings/selection/bar_actions.png      the bar with its actions only
//   renderings/selection/bar_all_tools.png    with every tool
//   renderings/selection/bar_secure.png       over a password field
//   renderings/selection/bar_more_menu.png    with the more menu open
#include "selection/selvane_action_panel.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/application_icon.h"
#include "localization/interface_language.h"
#include "platform/base/text.h"
#include "platform/system/user_defaults.h"
#include "platform/ui/screen_snapshot.h"
#include "screen/screenshot_controller.h"
#include "screen/screenshot_toast.h"
#include "selection/selvane_exclusions.h"
#include "selection/selvane_preferences.h"
#include "support/desktop/desktop_fixture.h"
#include "selection/selvane_selection_bar.h"
#include "windows/input_controller.h"
#include "windows/long_press_destination.h"
#include "windows/screen_geometry.h"
#include "windows/snap_engine.h"

namespace tallowmere {
namespace {

using platform::AXRange;
using platform::PropertyValue;
using platform::ScreenPoint;
using Strings = std::vector<std::string>;

const std::filesystem::path renderings = std::filesystem::path(TALLOWMERE_BINARY_DIR) / "renderings" / "selection";

PropertyValue strings(std::initializer_list<const char*> texts) {
    PropertyValue::Array array;
    for (const char* text : texts) array.emplace_back(text);
    return PropertyValue(array);
}

// The bar, and an editor in front with a field holding a selection.
class SelvaneActionPanelTest : public testing::DesktopTest {
protected:
    SelvaneActionPanelTest() {
        InterfaceLanguage::setCurrent(InterfaceLanguage::simplifiedChinese);
        // Titles are laid out once, in the language of the moment.
        bar = SelvaneActionPanel::make(ApplicationIcon::image());
        setup.grantAccessibility();
        editor = setup.addFrontWindow({.bundleIdentifier = "com.example.editor", .name = "Editor"},
                                      {.title = "Notes", .frame = {200, 150, 700, 400}});
        field = editor->addElement({.role = platform::AXRole::textArea, .frame = {0, 40, 700, 300},
                                    .value = "Hello world", .selectedRange = AXRange{0, 5}, .editable = true});
        field->focus();
        mouse.moveTo({100, 100});
    }
    std::shared_ptr<platform::Screen> screen() { return desktop.screens().screens().front(); }
    void showText(const std::string& text, bool secure = false, ScreenPoint near = {600, 500},
                  std::optional<Accessibility::TextStyle> style = std::nullopt) {
        bar->show(text, near, screen(), secure, std::move(style), std::nullopt);
    }
    void setTools(std::initializer_list<const char*> tools) {
        platform::UserDefaults::standard().set(SelvanePreferences::enabledToolsKey, strings(tools));
    }
    // A person's click on one of the bar's buttons.
    void click(const platform::View& button) {
        mouse.click(button.convertToScreen(button.bounds()).center());
        runUntilIdle();
    }

    std::shared_ptr<SelvaneActionPanel> bar;
    std::shared_ptr<platform::SimulatedWindow> editor;
    std::shared_ptr<platform::SimulatedElement> field;
};

TEST_F(SelvaneActionPanelTest, PlacementStaysInsideTheVisibleFrame) {
    showText("Hello");
    const auto size = bar->panel()->frame().size;
    ASSERT_EQ(size.height, 54);
    auto narrow = std::make_shared<platform::Screen>(
        platform::ScreenSpec{.frame = {0, 0, 300, 400}, .visibleFrame = platform::ScreenRect{0, 0, 300, 376}});
    struct Case {
        const char* name;
        ScreenPoint near;
        bool onNarrowScreen;
        ScreenPoint origin;
    };
    const auto visible = screen()->visibleFrame();
    const Case cases[] = {
        {"centred 24 pt above the point", {700, 400}, false, {700 - size.width / 2, 424}},
        {"5 pt below the visible top: below the point", {700, visible.maxY() - 5}, false,
         {700 - size.width / 2, visible.maxY() - 5 - 54 - 24}},
        {"at the far left: 8 pt inside", {visible.minX() + 1, 400}, false, {visible.minX() + 8, 424}},
        {"at the far right: 8 pt inside", {visible.maxX() - 1, 400}, false, {visible.maxX() - size.width - 8, 424}},
        {"wider than the screen: the right edge wins", {150, 100}, true, {300 - size.width - 8, 124}},
        {"low on the screen: 8 pt above the bottom", {700, visible.minY() - 200}, false,
         {700 - size.width / 2, visible.minY() + 8}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        bar->show("Hello", c.near, c.onNarrowScreen ? narrow : screen(), false, std::nullopt, std::nullopt);
        EXPECT_EQ(bar->panel()->frame().origin, c.origin);
    }
    EXPECT_EQ(bar->selectionBackingScale(), 2.0);
}

TEST_F(SelvaneActionPanelTest, WidthFollowsTheEnabledItems) {
    struct Case {
        const char* name;
        std::optional<PropertyValue> actions, tools;
        double width;
        bool moreShown;
    } cases[] = {
        // 26 + 16, each item's width and 2, screenshot 58, jump 58, 4 + 12, more 26.
        {"defaults", std::nullopt, std::nullopt, 665, true},
        {"copy alone, no tools", strings({"copy"}), strings({}), 260, true},
        {"every tool: font info replaces the more button", std::nullopt,
         strings({"colorPicker", "screenRuler", "fontInfo"}), 737, false},
        {"font info alone", strings({"copy"}), strings({"fontInfo"}), 260 + 98 - 26, false},
    };
    auto& defaults = platform::UserDefaults::standard();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.actions ? defaults.set(SelvanePreferences::enabledActionsKey, *c.actions)
                  : defaults.removeObject(SelvanePreferences::enabledActionsKey);
        c.tools ? defaults.set(SelvanePreferences::enabledToolsKey, *c.tools)
                : defaults.removeObject(SelvanePreferences::enabledToolsKey);
        showText("Hello");
        EXPECT_EQ(bar->panel()->frame().size.width, c.width);
        EXPECT_EQ(!bar->moreButton()->isHidden(), c.moreShown);
        const auto& row = bar->body()->subviews().front();
        const auto& last = c.moreShown ? bar->moreButton() : bar->jumpButton();
        EXPECT_EQ(last->frame().maxX(), row->frame().size.width) << "the items fill the row exactly";
        EXPECT_EQ(row->frame().size.width + 16 + 12, c.width);
    }
}

TEST_F(SelvaneActionPanelTest, WhichActionsAreEnabled) {
    struct Case {
        const char* name;
        std::string text;
        bool secure;
        std::vector<bool> enabled;  // cut, copy, paste, search, translate
    } cases[] = {
        {"text", "Hello", false, {true, true, true, true, true}},
        {"only spaces", "  \n ", false, {false, false, true, false, false}},
        {"secure", "", true, {true, true, true, false, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        showText(c.text, c.secure);
        for (std::size_t i = 0; i < allSelvaneActions.size(); ++i) {
            const auto& button = bar->actionButton(allSelvaneActions[i]);
            EXPECT_EQ(button->isEnabled(), c.enabled[i]) << rawValue(allSelvaneActions[i]);
            EXPECT_EQ(button->alphaValue(), c.enabled[i] ? 1.0 : 0.45) << rawValue(allSelvaneActions[i]);
        }
    }
}

TEST_F(SelvaneActionPanelTest, WebAddressesTheJumpButtonTakes) {
    struct Case {
        std::optional<std::string> text;
        std::optional<std::string> url;
    } cases[] = {
        {"HTTPS://A.B", "HTTPS://A.B"},
        {"  https://example.com/a?b=1  ", "https://example.com/a?b=1"},
        {"example.com", "http://example.com"},
        {"a https://a.b", std::nullopt},
        {"https://a.b c", std::nullopt},
        {"ftp://a.b", std::nullopt},
        {"mailto:", std::nullopt},
        {"a@b.cn", std::nullopt},
        {"http://", std::nullopt},
        {"", std::nullopt},
        {std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.value_or("(none)"));
        EXPECT_EQ(SelvaneActionPanel::webURL(c.text), c.url);
    }
}

TEST_F(SelvaneActionPanelTest, SearchAndTranslateOpenEveryPageWithTheEncodedText) {
    showText("a\xFF\xC3" "b");
    EXPECT_TRUE(platform::Text::isValidUtf8(bar->selectedText())) << "broken text from another application is mended";
    EXPECT_EQ(bar->selectedText().substr(0, 1), "a");
    showText("a&b c中");
    bar->searchSelectedText();
    EXPECT_FALSE(bar->isVisible());
    showText("a&b c中");
    bar->translateSelectedText();
    const auto& opened = desktop.workspace().openedURLs();
    ASSERT_EQ(opened.size(), 6u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(opened[i], std::string(SelvaneActionPanel::searchBases()[i]) + "a%26b%20c%E4%B8%AD");
        EXPECT_EQ(opened[3 + i], std::string(SelvaneActionPanel::translationBases()[i]) + "a%26b%20c%E4%B8%AD");
    }
}

TEST_F(SelvaneActionPanelTest, FontSizesInBothUnits) {
    struct Case {
        const char* size;
        double scale;
        const char* chinese;
    } cases[] = {
        {"16px", 2, "16 px（CSS 原始） / 12 pt（CSS 换算）"},
        {"12pt", 2, "12 pt（原始） / 24 px（屏幕 2× 换算）"},
        {" 13.5PT ", 1, "13.5 pt（原始） / 13.5 px（屏幕 1× 换算）"},
        {"large", 2, "large"},
        {"-3px", 2, "-3px"},
        {"12pt", 0, "12pt"},
        {"px", 2, "px"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        EXPECT_EQ(SelvaneActionPanel::dualUnitFontSize(c.size, c.scale), c.chinese);
    }
    InterfaceLanguage::setCurrent(InterfaceLanguage::english);
    EXPECT_EQ(SelvaneActionPanel::dualUnitFontSize("16px", 2), "16 px (CSS original) / 12 pt (CSS conversion)");
    EXPECT_EQ(SelvaneActionPanel::dualUnitFontSize("12pt", 2), "12 pt (original) / 24 px (2x backing scale)");
    for (auto [value, text] : {std::pair{16.0, "16"}, {13.5, "13.5"}, {0.0, "0"}, {0.126, "0.13"}, {10.0, "10"}}) {
        EXPECT_EQ(SelvaneActionPanel::formatted(value), text);
    }
}

using MenuRows = std::vector<std::pair<std::string, bool>>;

MenuRows rows(const platform::Menu& menu) {
    MenuRows result;
    for (const auto& item : menu.items()) result.push_back({item->isSeparatorItem() ? "—" : item->title(), item->isSeparatorItem() || item->isEnabled()});
    return result;
}

TEST_F(SelvaneActionPanelTest, TheMoreMenuShowsTheStyleAndTheMissingTools) {
    Accessibility::TextStyle twoSizes{"Helvetica", {"16px", "12pt"}, {"正常（400）"}, {{"#FF0000", platform::Color::sRGB(1, 0, 0)}}};
    struct Case {
        const char* name;
        std::optional<Accessibility::TextStyle> style;
        std::optional<PropertyValue> tools;
        bool unused;
        MenuRows rows;
    } cases[] = {
        {"no style", std::nullopt, std::nullopt, true,
         {{"字体：无法获取", true}, {"字号：无法获取", false}, {"粗细：无法获取", false}, {"颜色：无法获取", false},
          {"—", true}, {"排除此应用", true}}},
        {"two sizes", twoSizes, strings({"screenRuler"}), true,
         {{"字体：Helvetica", true},
          {"字号 1：16 px（CSS 原始） / 12 pt（CSS 换算）", true},
          {"字号 2：12 pt（原始） / 24 px（屏幕 2× 换算）", true},
          {"粗细：正常（400）", true},
          {"颜色：#FF0000", true},
          {"—", true},
          {"取色器", true},
          {"—", true},
          {"排除此应用", true}}},
        {"every tool on the bar", std::nullopt, strings({"colorPicker", "screenRuler", "fontInfo"}), true,
         {{"字体：无法获取", true}, {"字号：无法获取", false}, {"粗细：无法获取", false}, {"颜色：无法获取", false},
          {"—", true}, {"排除此应用", true}}},
        {"no tools on the bar", std::nullopt, strings({}), true,
         {{"字体：无法获取", true}, {"字号：无法获取", false}, {"粗细：无法获取", false}, {"颜色：无法获取", false},
          {"—", true}, {"取色器", true}, {"测量标尺", true}, {"—", true}, {"排除此应用", true}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.tools ? platform::UserDefaults::standard().set(SelvanePreferences::enabledToolsKey, *c.tools)
                : platform::UserDefaults::standard().removeObject(SelvanePreferences::enabledToolsKey);
        showText("Hello", false, {600, 500}, c.style);
        bar->showMoreMenu(*bar->moreButton());
        ASSERT_TRUE(bar->moreMenu());
        EXPECT_EQ(rows(*bar->moreMenu()), c.rows);
        bar->moreMenu()->cancelTracking();
    }
}

TEST_F(SelvaneActionPanelTest, AColourItemCopiesItsValueAndShowsTheToast) {
    Accessibility::TextStyle style{"Helvetica", {}, {}, {{"#00FF00", platform::Color::sRGB(0, 1, 0)}}};
    showText("https://example.com", false, {600, 500}, style);
    ASSERT_TRUE(bar->jumpButton()->isEnabled());
    bar->showMoreMenu(*bar->moreButton());
    ASSERT_TRUE(menus.choose("颜色：#00FF00"));
    EXPECT_EQ(desktop.pasteboard().string(), "#00FF00");
    ASSERT_TRUE(ScreenshotToast::shared().panel());
    EXPECT_TRUE(ScreenshotToast::shared().panel()->isVisible());
    advance(0.3);
    EXPECT_TRUE(bar->jumpButton()->isEnabled()) << "the bar's own copy does not count as a new copy";
    EXPECT_TRUE(bar->isVisible()) << "the auto-hide starts again once the menu closes";
    advance(3);
    EXPECT_FALSE(bar->isVisible());
}

TEST_F(SelvaneActionPanelTest, TheScreenshotButtonHidesTheBarAndStartsOneCapture) {
    std::filesystem::create_directories(home() / "Desktop");
    panels.dragScreenArea(platform::ScreenRect{100, 100, 80, 60});
    showText("Hello");
    bar->screenshotButton()->performClick();
    EXPECT_FALSE(bar->isVisible()) << "the bar must not be in its own screenshot";
    EXPECT_TRUE(ScreenshotController::shared().isPending());
    bar->screenshotButton()->performClick();  // again within 0.2 s
    advance(ScreenshotController::captureDelaySeconds);
    runUntilIdle();
    EXPECT_EQ(panels.screenAreaCount(), 1) << "one capture for two presses";
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(home() / "Desktop"), {}), 1);
    ASSERT_TRUE(ScreenshotToast::shared().panel());
    EXPECT_EQ(ScreenshotToast::shared().panel()->frame().size.width, 280);
}

TEST_F(SelvaneActionPanelTest, CopyCutAndPasteThroughTheSourceApplication) {
    showText("Hello");
    click(*bar->actionButton(SelvaneAction::copy));
    EXPECT_EQ(desktop.pasteboard().string(), "Hello");
    EXPECT_FALSE(bar->isVisible());

    showText("Hello");
    click(*bar->actionButton(SelvaneAction::cut));
    EXPECT_FALSE(bar->isVisible()) << "the bar hides before the keys go";
    EXPECT_EQ(field->value(), "Hello world") << "not before 0.05 s";
    advance(0.05);
    EXPECT_EQ(field->value(), " world");
    EXPECT_EQ(desktop.pasteboard().string(), "Hello");

    field->setSelectedRange({0, 6});
    showText("world");
    click(*bar->actionButton(SelvaneAction::paste));
    advance(0.05);
    EXPECT_EQ(field->value(), "Hello");

    // Another application comes forward in the meantime: a beep and no keys.
    auto other = setup.addFrontWindow({.bundleIdentifier = "com.example.other", .name = "Other"},
                                      {.title = "Other", .frame = {900, 500, 300, 200}});
    desktop.activate(*editor->application());
    showText("Hello");
    const auto beepsBefore = std::count(desktop.sounds().played().begin(), desktop.sounds().played().end(), "beep");
    bar->cutSelectedText();
    desktop.activate(*other->application());
    advance(0.05);
    EXPECT_EQ(field->value(), "Hello");
    EXPECT_EQ(std::count(desktop.sounds().played().begin(), desktop.sounds().played().end(), "beep"), beepsBefore + 1);
    EXPECT_NE(std::find(uiTrace().begin(), uiTrace().end(), "beep"), uiTrace().end());
}

TEST_F(SelvaneActionPanelTest, SecureSelectionCopiesThroughTheApplicationAndNeverJumps) {
    desktop.pasteboard().clearContents();
    desktop.pasteboard().setString("https://example.com");
    auto password = editor->addElement({.role = platform::AXRole::secureTextField, .frame = {20, 360, 200, 24},
                                        .value = "hunter2", .selectedRange = AXRange{0, 7}, .editable = true});
    password->focus();
    showText("", true);
    EXPECT_FALSE(bar->jumpButton()->isEnabled()) << "no address is taken from the pasteboard for a password";
    desktop.pasteboard().clearContents();
    desktop.pasteboard().setString("https://example.org");
    advance(0.25);
    EXPECT_FALSE(bar->jumpButton()->isEnabled());
    bar->copySelectedText();
    advance(0.05);
    EXPECT_EQ(desktop.pasteboard().string(), "https://example.org") << "a secure field hands nothing out";
}

TEST_F(SelvaneActionPanelTest, AnExcludedApplicationHidesTheBar) {
    showText("Hello");
    ASSERT_TRUE(bar->isVisible());
    SelvaneExclusions::add("com.example.editor", "Editor");
    EXPECT_FALSE(bar->isVisible()) << "excluding the source application hides the bar";
    showText("Hello");
    EXPECT_FALSE(bar->isVisible()) << "and it no longer shows there";
    SelvaneExclusions::remove("com.example.editor");
    showText("Hello");
    bar->showMoreMenu(*bar->moreButton());
    ASSERT_TRUE(menus.choose("排除此应用"));
    EXPECT_TRUE(SelvaneExclusions::contains(std::string("com.example.editor")));
    EXPECT_EQ(SelvaneExclusions::entries().front().name, "Editor");
}

TEST_F(SelvaneActionPanelTest, PicturesOfTheBar) {
    std::filesystem::create_directories(renderings);
    auto& defaults = platform::UserDefaults::standard();
    Accessibility::TextStyle style{"Helvetica", {"13 pt"}, {"正常（400）"}, {{"#1E90FF", platform::Color::sRGB(0.12, 0.56, 1)}}};
    struct Shot {
        const char* file;
        std::optional<PropertyValue> tools;
        bool secure;
        bool menu;
    } shots[] = {
        {"bar_actions.png", strings({}), false, false},
        {"bar_all_tools.png", strings({"colorPicker", "screenRuler", "fontInfo"}), false, false},
        {"bar_secure.png", std::nullopt, true, false},
        {"bar_more_menu.png", std::nullopt, false, true},
    };
    for (const auto& shot : shots) {
        SCOPED_TRACE(shot.file);
        shot.tools ? defaults.set(SelvanePreferences::enabledToolsKey, *shot.tools)
                   : defaults.removeObject(SelvanePreferences::enabledToolsKey);
        showText(shot.secure ? "" : "Hello", shot.secure, {600, 500}, style);
        if (shot.menu) bar->showMoreMenu(*bar->moreButton());
        EXPECT_TRUE(platform::ScreenSnapshot::writePng(renderings / shot.file).ok());
        if (shot.menu) bar->moreMenu()->cancelTracking();
    }
}

// A person with the long press set to the bar, working in the editor.
class SelvaneBarEndToEndTest : public SelvaneActionPanelTest {
protected:
    SelvaneBarEndToEndTest() {
        advance(2);  // the person does not act in the first moments after start-up
        controller = InputController::make(std::make_shared<SnapEngine>(), nullptr, selectionBar);
        controller->selvaneEnabled = true;
        controller->updateMouseMonitor();
        LongPressDestinationPreference::set(LongPressDestination::selvane);
    }
    SelvaneActionPanel& shownBar() { return selectionBar->panel(); }
    // A long press on the editor's text, where "Hello" is selected.
    ScreenPoint holdOnText() {
        const ScreenPoint point = ScreenGeometry::toScreen(platform::AXPoint{editor->frame().minX() + 350, editor->frame().minY() + 100});
        mouse.moveTo(point);
        mouse.press();
        field->setSelectedRange({0, 5});  // the editor selects a word under the press
        advance(1.0);
        mouse.release();
        return point;
    }
    void clickBar(const platform::View& button) {
        mouse.click(button.convertToScreen(button.bounds()).center());
        runUntilIdle();
    }

    std::shared_ptr<SelvaneSelectionBar> selectionBar = std::make_shared<SelvaneSelectionBar>();
    std::shared_ptr<InputController> controller;
};

TEST_F(SelvaneBarEndToEndTest, HoldingOnSelectedTextShowsTheBarAndItsActionsWork) {
    const ScreenPoint point = holdOnText();
    ASSERT_TRUE(shownBar().isVisible());
    EXPECT_EQ(shownBar().selectedText(), "Hello");
    const auto frame = shownBar().panel()->frame();
    EXPECT_EQ(frame.minY(), point.y + 24) << "24 pt above the point";
    EXPECT_EQ(frame.midX(), point.x);

    clickBar(*shownBar().actionButton(SelvaneAction::copy));
    EXPECT_EQ(desktop.pasteboard().string(), "Hello");
    EXPECT_FALSE(shownBar().isVisible());

    holdOnText();
    clickBar(*shownBar().actionButton(SelvaneAction::cut));
    advance(0.05);
    EXPECT_EQ(field->value(), " world") << "the editor really cut its selection";
}

TEST_F(SelvaneBarEndToEndTest, AnAddressCopiedElsewhereEnablesTheJumpButton) {
    holdOnText();
    ASSERT_FALSE(shownBar().jumpButton()->isEnabled());
    desktop.pasteboard().clearContents();
    desktop.pasteboard().setString("https://example.com/page");
    advance(0.25);
    EXPECT_TRUE(shownBar().jumpButton()->isEnabled()) << "within 0.25 s of the copy";
    EXPECT_EQ(shownBar().jumpButton()->toolTip(), "用默认浏览器打开：https://example.com/page");
    desktop.pasteboard().clearContents();
    desktop.pasteboard().setString("plain words");
    advance(0.25);
    EXPECT_FALSE(shownBar().jumpButton()->isEnabled());
    EXPECT_EQ(shownBar().jumpButton()->toolTip(), "复制网址后可跳转");
}

TEST_F(SelvaneBarEndToEndTest, TheBarHidesAfterThreeSecondsUnlessThePointerRestsOnIt) {
    holdOnText();
    advance(2.9);
    EXPECT_TRUE(shownBar().isVisible());
    advance(0.1);
    EXPECT_FALSE(shownBar().isVisible()) << "hidden 3 s after showing";

    holdOnText();
    advance(1);
    const auto body = shownBar().body()->convertToScreen(shownBar().body()->bounds());
    mouse.moveTo(body.center());
    EXPECT_TRUE(shownBar().isPointerInside());
    advance(10);
    EXPECT_TRUE(shownBar().isVisible()) << "it stays while the pointer is on it";
    mouse.moveTo({body.center().x, body.minY() - 100});
    advance(2.9);
    EXPECT_TRUE(shownBar().isVisible());
    advance(0.1);
    EXPECT_FALSE(shownBar().isVisible()) << "3 s after the pointer left";
}

}  // namespace
}  // namespace tallowmere
