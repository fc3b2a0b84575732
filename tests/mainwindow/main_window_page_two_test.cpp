// Page 2 of the main window driven as a person would: swiped to, read and
// clicked, with the buddies, the lamp and its light on the simulated desktop.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/app_delegate_fixture.h"
#include "mainwindow/horizontal_paging_coordinator.h"
#include "mainwindow/inverted_disco_lamp_view.h"
#include "mainwindow/second_page_breathing_background_view.h"
#include "platform/base/text.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/workspace.h"
#include "platform/ui/button.h"
#include "platform/ui/label.h"
#include "platform/ui/scroll_view.h"
#include "platform/ui/layer_animation_ticker.h"
#include "platform/ui/stack_view.h"
#include "toys/fly_simulation_controller.h"
#include "toys/toy_random.h"
#include "toys/scientific_decision_controller.h"

namespace tallowmere::testing {
namespace {

using platform::Button;
using platform::View;

// Every text a person reads in `root`: labels and button titles, in tree order.
void collectTexts(const View& root, std::vector<std::string>& texts) {
    for (const auto& child : root.subviews()) {
        if (auto button = std::dynamic_pointer_cast<Button>(child)) {
            // A picture in the title (the music icon) and the spaces after it are no text to read.
            std::string title = button->title();
            const auto picture = title.rfind(platform::AttributedString::attachmentCharacter);
            if (picture != std::string::npos) {
                title = platform::Text::trimmingWhitespaceAndNewlines(
                    title.substr(picture + platform::AttributedString::attachmentCharacter.size()));
            }
            texts.push_back(title);
        } else if (auto label = std::dynamic_pointer_cast<platform::Label>(child)) {
            texts.push_back(label->stringValue());
        }
        collectTexts(*child, texts);
    }
}

std::shared_ptr<Button> findButton(const View& root, const std::string& title) {
    for (const auto& child : root.subviews()) {
        auto button = std::dynamic_pointer_cast<Button>(child);
        if (button && button->title() == title) return button;
        if (auto found = findButton(*child, title)) return found;
    }
    return nullptr;
}

template <typename T>
std::shared_ptr<T> findView(const View& root) {
    for (const auto& child : root.subviews()) {
        if (auto found = std::dynamic_pointer_cast<T>(child)) return found;
        if (auto found = findView<T>(*child)) return found;
    }
    return nullptr;
}

class MainWindowPageTwoTest : public AppDelegateTest {
protected:
    // Buddies land at random places, over the window too; a fixed seed keeps
    // a summoned one from ever covering the next button a test clicks.
    void SetUp() override {
        AppDelegateTest::SetUp();
        ToyRandom::shared().seed(1);
    }

    // The program started for a Finder request (so no window opens by
    // itself), the main window opened from the status menu, then a swipe
    // to page 2.
    MainWindowController& openPageTwo() {
        launch({"--finder-action"});
        runUntilIdle();
        menuBar.click(*delegate().statusItem());
        EXPECT_TRUE(menus.choose(L("打开主界面")));
        auto& controller = *delegate().mainWindowController();
        const auto frame = mainWindow()->frame();
        mouse.moveTo({frame.midX(), frame.midY()});
        trackpad.swipe(SwipeDirection::left, 80);
        advance(0.34);
        EXPECT_EQ(controller.pagingCoordinator()->currentPage(), 1);
        mainWindow()->contentView()->layoutSubtreeIfNeeded();
        return controller;
    }

    const View& pageTwo() { return *delegate().mainWindowController()->secondPageStack(); }
    std::shared_ptr<InvertedDiscoLampView> lamp() { return findView<InvertedDiscoLampView>(pageTwo()); }
    std::shared_ptr<SecondPageBreathingBackgroundView> background() {
        auto host = delegate().mainWindowController()->pagingCoordinator()->pages().at(1);
        return std::dynamic_pointer_cast<SecondPageBreathingBackgroundView>(host);
    }

    // The middle of `view` on screen, once the page is scrolled to show it,
    // as a person scrolls down to a card below the window's edge.
    static platform::ScreenPoint centreOf(const View& view) {
        for (auto ancestor = view.superview(); ancestor; ancestor = ancestor->superview()) {
            auto scroll = std::dynamic_pointer_cast<platform::ScrollView>(ancestor);
            if (!scroll) continue;
            scroll->scrollRectToVisible(view.convert(view.bounds(), scroll->documentView().get()));
            break;
        }
        const auto rect = view.convertToScreen(view.bounds());
        return {rect.midX(), rect.midY()};
    }

    void clickButton(const std::string& title) {
        auto button = findButton(pageTwo(), title);
        ASSERT_TRUE(button) << "page 2 has no button \"" << title << "\"";
        mouse.click(centreOf(*button));
    }

    static std::size_t buddiesOnScreen() {
        const auto& flies = FlySimulationController::shared().flies();
        return static_cast<std::size_t>(
            std::count_if(flies.begin(), flies.end(), [](const auto& fly) { return fly->window->isVisible(); }));
    }
};

class MainWindowPageTwoLanguageTest : public MainWindowPageTwoTest,
                                      public ::testing::WithParamInterface<InterfaceLanguage::Value> {};

TEST_P(MainWindowPageTwoLanguageTest, EveryCardReadsInTheInterfaceLanguage) {
    const InterfaceLanguage language = GetParam();
    InterfaceLanguage::setCurrent(language);
    // Texts chosen by language: Chinese for every Chinese-script language.
    const std::vector<std::string> chinese = {
        "更多工具", "桌面伙伴与音乐", "日常工具", "灵感与导航", "Work with Buddy", "风格", "数码", "写实", "Emoji",
        "buddy", "fly（苍蝇）", "小强", "甲虫", "天妇罗", "辣椒酱", "灯球", "buddy 性格", "悠闲", "胆小", "淘气",
        "召唤这个 buddy", "随机召唤 buddy", "召唤一个巨物", "送它们回家", "让它们消失", "当前 buddy：0 只",
        "每周会增加一种buddy，别着急慢慢来。投稿给我", "千问", "豆包", "百度文心助手", "ChatGPT", "全屏",
        "塔洛梅科学决策机制高手", "开始科学决策"};
    const std::vector<std::string> english = {
        "More Tools", "Buddies & Music", "Everyday Tools", "Inspiration & Links", "Work with Buddy", "Style",
        "Digital", "Realistic", "Emoji", "Fly", "Cockroach", "Beetle", "Tempura", "Chili Sauce", "Disco Ball",
        "Personality", "Calm", "Timid", "Playful", "Summon This Buddy", "Random Buddy", "Summon a Giant",
        "Send Them Home", "Make Them Disappear", "Buddies：0 只",
        "One new buddy every week. Take it slow. Send me your ideas.", "Qwen", "Doubao", "Baidu Wenxin Assistant",
        "Full Screen", "开始科学决策"};
    auto expected = language == InterfaceLanguage::english ? english : chinese;
    // Texts looked up in the interface language.
    for (const char* key : {"来点儿音乐", "安静工作", "平静的一天", "被裁员了", "AI导航", "一键全打开"}) {
        expected.emplace_back(L(key));
    }

    openPageTwo();
    std::vector<std::string> shown;
    collectTexts(pageTwo(), shown);
    for (const auto& text : expected) {
        EXPECT_NE(std::find(shown.begin(), shown.end(), text), shown.end()) << "page 2 does not show " << text;
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, MainWindowPageTwoLanguageTest,
                         ::testing::Values(InterfaceLanguage::simplifiedChinese, InterfaceLanguage::english,
                                           InterfaceLanguage::cantonese));

TEST_F(MainWindowPageTwoTest, AClickOnTheLampSpinsItAndSpeedsTheBackground) {
    openPageTwo();
    auto spinning = lamp();
    ASSERT_TRUE(spinning);
    EXPECT_EQ(background()->colorSpeed(), 1.0f) << "until the lamp first reports";
    mouse.click(centreOf(*spinning));
    advance(2);
    EXPECT_TRUE(spinning->isSpinning());
    EXPECT_GT(spinning->motion().angularVelocity, 2.0);
    EXPECT_GT(background()->colorSpeed(), 7.0f) << "the colours cycle faster as the ball speeds up";

    mouse.click(centreOf(*spinning));
    advance(10);
    EXPECT_FALSE(spinning->isTicking()) << "the ball coasted to a stop";
    EXPECT_EQ(background()->colorSpeed(), SecondPageBreathingBackgroundView::slowestFactor);
}

TEST_F(MainWindowPageTwoTest, FullScreenLightCoversTheScreenAndLetsClicksThrough) {
    openPageTwo();
    auto ball = lamp();
    clickButton("全屏");
    auto light = ball->fullScreenLightWindow();
    ASSERT_TRUE(light);
    EXPECT_TRUE(light->isVisible());
    EXPECT_EQ(light->frame(), setup.primaryScreen()->frame());
    EXPECT_TRUE(ball->isSpinning()) << "turning the light on starts the spin";
    advance(1);

    // The light lies over the lamp; a click there reaches the lamp beneath.
    mouse.click(centreOf(*ball));
    EXPECT_FALSE(ball->isSpinning());
    mouse.click(centreOf(*ball));
    EXPECT_TRUE(ball->isSpinning());

    clickButton("全屏");
    EXPECT_FALSE(ball->fullScreenLightWindow());
    EXPECT_FALSE(light->isVisible());
    EXPECT_TRUE(ball->isSpinning()) << "turning the light off leaves the spin";
}

TEST_F(MainWindowPageTwoTest, BuddyButtonsSummonAndDismissBuddies) {
    openPageTwo();
    clickButton("召唤这个 buddy");
    clickButton("随机召唤 buddy");
    EXPECT_EQ(buddiesOnScreen(), 2u);
    std::vector<std::string> shown;
    collectTexts(pageTwo(), shown);
    EXPECT_NE(std::find(shown.begin(), shown.end(), "当前 buddy：2 只"), shown.end());

    clickButton("让它们消失");
    EXPECT_EQ(buddiesOnScreen(), 0u);
}

TEST_F(MainWindowPageTwoTest, OpenAllOpensTheSixAssistantsInOrder) {
    auto& controller = openPageTwo();
    clickButton(std::string(L("一键全打开")));
    const auto& opened = desktop.workspace().openedURLs();
    EXPECT_EQ(opened.size(), 6u);
    EXPECT_EQ(opened, controller.aiNavigationURLs());
}

TEST_F(MainWindowPageTwoTest, TheDecisionCardOpensTheToolsWindow) {
    openPageTwo();
    clickButton("开始科学决策");
    auto window = ScientificDecisionController::shared().window();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isKeyWindow());
}

TEST_F(MainWindowPageTwoTest, SavedBuddiesComeBackOnceNeverDoubled) {
    defaults().set(FlySimulationController::enabledKey, true);
    defaults().set(FlySimulationController::countKey, std::int64_t{3});
    openPageTwo();
    EXPECT_EQ(buddiesOnScreen(), 3u);

    // Closing and reopening the window builds nothing again.
    mainWindow()->performClose();
    menuBar.click(*delegate().statusItem());
    EXPECT_TRUE(menus.choose(L("打开主界面")));
    EXPECT_EQ(buddiesOnScreen(), 3u);
    EXPECT_EQ(FlySimulationController::shared().flies().size(), 3u);
}

TEST_F(MainWindowPageTwoTest, FramesAreAskedForOnlyWhilePageTwoShows) {
    auto& controller = openPageTwo();
    auto& ticker = platform::LayerAnimationTicker::shared();
    EXPECT_TRUE(ticker.isTicking()) << "the breathing colours need frames while page 2 shows";

    controller.previousPageChevron()->performClick();
    advance(0.34);
    EXPECT_FALSE(ticker.isTicking()) << "page 1 shows: nothing breathes";

    controller.nextPageChevron()->performClick();
    advance(0.34);
    EXPECT_TRUE(ticker.isTicking());
    mainWindow()->performClose();
    EXPECT_FALSE(ticker.isTicking()) << "the window is closed";
    EXPECT_FALSE(lamp()->isTicking());
}

}  // namespace
}  // namespace tallowmere::testing
