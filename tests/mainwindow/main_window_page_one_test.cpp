#include <gtest/gtest.h>

#include "app/app_delegate_fixture.h"
#include "mainwindow/apple_settings_card_view.h"
#include "mainwindow/horizontal_paging_coordinator.h"
#include "mainwindow/wrapping_columns_view.h"
#include "platform/desktop/desktop.h"
#include "platform/ui/application.h"
#include "platform/ui/scroll_view.h"

namespace tallowmere::testing {
namespace {

using platform::PropertyValue;
using platform::StackView;
using platform::View;

std::string authorizationTitle(std::string_view title) {
    return std::string(L(title)) + "（" + std::string(L("需授权")) + "）";
}

// The program started for a Finder request (so no window opens by
// itself), then the person chooses "打开主界面" from the status menu.
class MainWindowPageOneTest : public AppDelegateTest {
protected:
    MainWindowController& openMainWindow() {
        launch({"--finder-action"});
        runUntilIdle();
        menuBar.click(*delegate().statusItem());
        EXPECT_TRUE(menus.choose(L("打开主界面")));
        EXPECT_TRUE(mainWindowIsShown());
        return *delegate().mainWindowController();
    }

    std::shared_ptr<WrappingColumnsView> cardColumns(MainWindowController& controller) {
        auto root = std::dynamic_pointer_cast<StackView>(controller.mainLayoutRoot());
        return root ? std::dynamic_pointer_cast<WrappingColumnsView>(root->arrangedSubviews().at(1)) : nullptr;
    }

    // Each column's cards by their titles ("" for a card without one).
    std::vector<std::vector<std::string>> cardTitles(MainWindowController& controller) {
        std::vector<std::vector<std::string>> titles;
        for (const auto& column : cardColumns(controller)->columns()) {
            auto& names = titles.emplace_back();
            for (const auto& view : std::static_pointer_cast<StackView>(column.view)->arrangedSubviews()) {
                if (!std::dynamic_pointer_cast<AppleSettingsCardView>(view)) continue;
                auto content = std::static_pointer_cast<StackView>(view->subviews().front());
                auto header = std::dynamic_pointer_cast<StackView>(content->arrangedSubviews().front());
                auto label = header ? std::dynamic_pointer_cast<platform::Label>(header->arrangedSubviews().front())
                                    : nullptr;
                names.push_back(label ? label->stringValue() : "");
            }
        }
        return titles;
    }

    void resizeWindow(double width) {
        auto window = mainWindow();
        auto frame = window->frame();
        frame.size.width = width;
        window->setFrame(frame);
        window->contentView()->layoutSubtreeIfNeeded();
        window->contentView()->layoutSubtreeIfNeeded();
    }
};

class MainWindowLanguageTest : public MainWindowPageOneTest,
                               public ::testing::WithParamInterface<InterfaceLanguage::Value> {};

TEST_P(MainWindowLanguageTest, OpensOnPageOneWithItsCardsInOrder) {
    const InterfaceLanguage language = GetParam();
    InterfaceLanguage::setCurrent(language);
    auto& controller = openMainWindow();
    const std::vector<std::vector<std::string>> expected = {
        {authorizationTitle("窗口手势控制"), ""},
        {L("新建文件类型"), L("快捷启动")},
        {authorizationTitle("Selvane"), authorizationTitle("窗口记忆")},
    };
    EXPECT_EQ(cardTitles(controller), expected);
    auto paging = controller.pagingCoordinator();
    ASSERT_TRUE(paging);
    EXPECT_EQ(paging->currentPage(), 0);
    EXPECT_FALSE(controller.nextPageChevron()->isHidden());
    EXPECT_TRUE(controller.previousPageChevron()->isHidden());
    EXPECT_EQ(controller.previousPageChevron()->toolTip(),
              language == InterfaceLanguage::english ? "Back to main screen" : "返回主界面");
    EXPECT_EQ(controller.statusText(), L("就绪"));
}

INSTANTIATE_TEST_SUITE_P(Languages, MainWindowLanguageTest,
                         ::testing::Values(InterfaceLanguage::simplifiedChinese, InterfaceLanguage::english));

TEST_F(MainWindowPageOneTest, AFreshDomainShowsTheDefaultSwitchesAndStoresTheMigration) {
    auto& c = openMainWindow();
    struct Case {
        const char* what;
        const platform::Switch& toggle;
        bool on;
    } cases[] = {
        {"gesture", *c.gestureSwitch, true},
        {"natural direction", *c.naturalDirectionSwitch, true},
        {"mouse", *c.mouseSwitch, true},
        {"edge snap", *c.edgeSnapSwitch, true},
        {"quick launch", *c.quickLaunchSwitch, true},
        {"quick-launch long press", *c.quickLaunchLongPressSwitch, true},
        {"window memory", *c.workspaceMemorySwitch, true},
        {"selection bar", *c.selvaneSwitch, false},
        {"selection-bar long press", *c.selvaneLongPressSwitch, false},
        {"launch at login", *c.launchSwitch, false},
    };
    for (const auto& sc : cases) EXPECT_EQ(sc.toggle.isOn(), sc.on) << sc.what;
    EXPECT_EQ(defaults().storedBoolean("quickLaunchEnabled"), true);
    EXPECT_EQ(defaults().storedBoolean("quickLaunchPermissionDecoupledV1"), true);
    EXPECT_EQ(defaults().string("longPressDestination"), "quickLaunch");
}

TEST_F(MainWindowPageOneTest, StoredSettingsAndBadValuesShowAsTheyShould) {
    defaults().set("quickLaunchEnabled", false);  // from before the migration: comes back on
    defaults().set("mouseEnabled", PropertyValue("off"));
    defaults().set("windowDialTheme", PropertyValue("noSuchTheme"));
    defaults().set("statusBarIconStyle", PropertyValue("glitter"));
    defaults().set("themeMode", PropertyValue("sepia"));
    defaults().set("edgeSnapEnabled", false);
    auto& c = openMainWindow();
    EXPECT_TRUE(c.quickLaunchSwitch->isOn());
    EXPECT_TRUE(c.mouseSwitch->isOn()) << "a value that is no Boolean shows on";
    EXPECT_FALSE(c.edgeSnapSwitch->isOn());
    EXPECT_EQ(c.dialThemePopup->indexOfSelectedItem(), 0u);
    EXPECT_EQ(c.dialThemePopup->titleOfSelectedItem(), "弧线美学") << "the scheme number is cut off";
    EXPECT_EQ(c.dialThemePopup->numberOfItems(), 39u);
    EXPECT_EQ(c.statusIconPopup->indexOfSelectedItem(), 0u);
    EXPECT_EQ(c.themePopup->titleOfSelectedItem(), "跟随系统");
    EXPECT_EQ(c.languagePopup->numberOfItems(), 17u);
    EXPECT_EQ(c.languagePopup->titleOfSelectedItem(), "简体中文");
}

TEST_F(MainWindowPageOneTest, OnceMigratedAStoredQuickLaunchOffIsKept) {
    defaults().set("quickLaunchPermissionDecoupledV1", true);
    defaults().set("quickLaunchEnabled", false);
    EXPECT_FALSE(openMainWindow().quickLaunchSwitch->isOn());
}

TEST_F(MainWindowPageOneTest, ANarrowerWindowWrapsTheSelectionBarColumnThenEveryColumn) {
    auto& controller = openMainWindow();
    auto columns = cardColumns(controller);
    resizeWindow(1420);  // 1360 for the columns inside the page's 30-point margins
    EXPECT_EQ(columns->currentRows(), (std::vector<std::vector<int>>{{0, 1, 2}}));
    resizeWindow(1100);
    EXPECT_EQ(columns->currentRows(), (std::vector<std::vector<int>>{{0, 1}, {2}}));
    resizeWindow(900);
    EXPECT_EQ(columns->currentRows(), (std::vector<std::vector<int>>{{0}, {1}, {2}}));
}

TEST_F(MainWindowPageOneTest, DraggingTheWindowsEdgeReWrapsTheColumns) {
    auto& controller = openMainWindow();
    auto columns = cardColumns(controller);
    auto window = mainWindow();
    // The right edge, dragged as a person does, to each width in turn.
    const auto dragRightEdgeToWidth = [&](double width) {
        const auto frame = window->frame();
        mouse.drag({frame.maxX() - 1, frame.midY()}, {frame.minX() + width - 1, frame.midY()});
        runUntilIdle();
        window->contentView()->layoutSubtreeIfNeeded();  // as the screen's next repaint does, once
        EXPECT_EQ(window->frame().width(), width);
    };
    struct Case {
        double width;
        std::vector<std::vector<int>> rows;
    } cases[] = {
        {1100, {{0, 1}, {2}}},
        {900, {{0}, {1}, {2}}},
        {1420, {{0, 1, 2}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("dragged to " + std::to_string(c.width));
        dragRightEdgeToWidth(c.width);
        EXPECT_EQ(columns->currentRows(), c.rows);
    }
}

TEST_F(MainWindowPageOneTest, ADoubleClickOnTheTitleBarTogglesFullScreen) {
    openMainWindow();
    auto window = mainWindow();
    const auto frame = window->frame();
    mouse.doubleClick({frame.midX(), frame.midY()});
    EXPECT_FALSE(window->isFullScreen()) << "the content is not the title bar";
    mouse.click({frame.midX(), frame.maxY() - 10});
    EXPECT_FALSE(window->isFullScreen()) << "a single click never toggles";
    mouse.doubleClick({frame.midX(), frame.maxY() - 10});
    EXPECT_TRUE(window->isFullScreen());
}

TEST_F(MainWindowPageOneTest, AChevronTurnsToPageTwoInAThirdOfASecond) {
    auto& controller = openMainWindow();
    auto paging = controller.pagingCoordinator();
    controller.nextPageChevron()->performClick();
    EXPECT_EQ(paging->currentPage(), 1);
    EXPECT_TRUE(controller.nextPageChevron()->isHidden());
    EXPECT_FALSE(controller.previousPageChevron()->isHidden());
    advance(0.34);
    EXPECT_TRUE(paging->pages()[0]->isHidden());
    EXPECT_EQ(paging->pages()[1]->alphaValue(), 1);

    const auto frame = mainWindow()->frame();
    mouse.moveTo({frame.midX(), frame.midY()});
    trackpad.swipe(SwipeDirection::right, 80);
    EXPECT_EQ(paging->currentPage(), 0);
}

TEST_F(MainWindowPageOneTest, DarkAppearanceRecoloursTheCardsInPlace) {
    auto& controller = openMainWindow();
    auto card = std::static_pointer_cast<View>(
        std::static_pointer_cast<StackView>(cardColumns(controller)->columns()[0].view)->arrangedSubviews()[0]);
    application.setAppearance(platform::Appearance::dark);
    EXPECT_EQ(card->layer().backgroundColor->rgba(),
              (platform::Color::sRGB(44 / 255.0, 44 / 255.0, 46 / 255.0).rgba()));
}

TEST_F(MainWindowPageOneTest, OnPageOneOnlyTheUntrustedDotsBlinkWakesTheProgram) {
    struct Case {
        bool trusted;
        std::size_t itemsInTenSeconds;
    } cases[] = {{false, 10}, {true, 0}};
    // The calendar item's day needs the activity timer.
    defaults().set("calendarEnabled", platform::PropertyValue(false));
    auto& controller = openMainWindow();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.trusted ? "trusted" : "untrusted");
        setup.grantAccessibility(c.trusted);
        controller.refreshPermission();
        advance(5);  // the window's opening animation and the dot's restart
        std::size_t items = 0;
        context().mainQueue().onItemPerformed = [&items] { ++items; };
        advance(10);
        context().mainQueue().onItemPerformed = nullptr;
        EXPECT_EQ(items, c.itemsInTenSeconds) << "the dot blinks once a second until trust, then nothing runs";
    }
}

}  // namespace
}  // namespace tallowmere::testing
