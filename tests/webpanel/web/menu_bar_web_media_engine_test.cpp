#include <gtest/gtest.h>

#include <string>

#include <nlohmann/json.hpp>

#include "localization/product_identity.h"
#include "platform/system/user_defaults.h"
#include "platform/ui/button.h"
#include "platform/ui/status_item.h"
#include "webpanel/menu_bar_web_page_scripts.h"
#include "webpanel/web/menu_bar_web_engine_fixture.h"

namespace tallowmere {
namespace {

using platform::ScreenPoint;
using platform::UserDefaults;
using testing::runEngineFor;
using testing::waitUntil;

// Stands between the web view and the controller and counts the media
// reports that pass.
class CountingDelegate : public platform::WebViewNavigationDelegate {
public:
    explicit CountingDelegate(std::weak_ptr<MenuBarWebController> controller) : controller_(std::move(controller)) {}
    int mediaMessages = 0;

    void webViewDidStartNavigation(platform::WebView& view) override {
        if (auto c = controller_.lock()) c->webViewDidStartNavigation(view);
    }
    void webViewDidFinishNavigation(platform::WebView& view) override {
        if (auto c = controller_.lock()) c->webViewDidFinishNavigation(view);
    }
    void webViewDidReceiveScriptMessage(platform::WebView& view, const platform::WebScriptMessage& message) override {
        if (message.handlerName == "menuBarWebMedia") ++mediaMessages;
        if (auto c = controller_.lock()) c->webViewDidReceiveScriptMessage(view, message);
    }

private:
    std::weak_ptr<MenuBarWebController> controller_;
};

class MenuBarWebMediaEngineTest : public testing::MenuBarWebPanelEngineTest {
protected:
    void SetUp() override {
        MenuBarWebPanelEngineTest::SetUp();
        ASSERT_TRUE(otherOrigin.isRunning()) << otherOrigin.failure();
        mouse.moveTo({900, 880});
    }

    std::string mediaPage() { return server.url("/media.html?child=" + otherOrigin.url("")); }

    // The media page presented, its own play refused, its media reported.
    void presentMediaPage() {
        controller().installStatusItems();
        controller().present(*platform::Url::parse(mediaPage()), false);
        ASSERT_TRUE(waitUntil([&] { return pageFinished("/media.html"); }));
        ASSERT_TRUE(waitUntil([&] { return evaluate("window.playResult") != "null"; }));
        ASSERT_TRUE(waitUntil([&] { return controller().hasWebMedia(); })) << "no media report";
        ASSERT_TRUE(waitUntil([&] { return evaluate("window.childAnswers.includes('ready')") == "true"; }));
    }

    // Where the page's player is on the screen.
    ScreenPoint player() {
        const auto frame = controller().panel()->frame();
        return {frame.minX() + 60, frame.maxY() - 52 - 30};
    }

    // The person clicks the player and the video plays.
    void clickToPlay() {
        mouse.click(player());
        ASSERT_TRUE(waitUntil([&] { return evaluate("window.clickPlayResult || null") == "\"played\""; }));
        ASSERT_TRUE(waitUntil([&] { return controller().isWebMediaPlaying(); })) << "the playing page was not reported";
    }

    double videoTime() { return std::stod(evaluate("document.getElementById('video').currentTime")); }
    bool videoPlaying() { return evaluate("!document.getElementById('video').paused") == "true"; }

    static std::string brand(const char* chinese, const char* foreign) {
        return ProductIdentity::localizedBrand(chinese, foreign);
    }

    testing::LocalWebServer otherOrigin{testing::testPagesFolder()};
};

TEST_F(MenuBarWebMediaEngineTest, PlaybackWaitsForATouchInThePageAndReachesItsFrames) {
    presentMediaPage();
    EXPECT_EQ(evaluate("window.playResult"), "\"NotAllowedError: Playback requires a user action.\"");
    EXPECT_FALSE(videoPlaying());
    EXPECT_TRUE(controller().playbackStatusItem()->isVisible());
    EXPECT_FALSE(controller().playbackStatusButton()->showsPause());
    evaluate("askChild('play')");
    ASSERT_TRUE(waitUntil([&] { return evaluate("window.childAnswers.length") == "2"; }));
    EXPECT_EQ(evaluate("window.childAnswers[1]"), "\"NotAllowedError\"") << "the child frame played untouched";

    clickToPlay();
    EXPECT_FALSE(controller().pauseMediaWhenPanelAppears()) << "the touch was not taken as the person's intent";
    EXPECT_TRUE(controller().playbackStatusButton()->showsPause());
    evaluate("askChild('play')");
    ASSERT_TRUE(waitUntil([&] { return evaluate("window.childAnswers.length") == "3"; }));
    EXPECT_EQ(evaluate("window.childAnswers[2]"), "\"played\"") << "the cross-origin frame was not allowed";

    // Presenting again starts paused, whatever played.
    controller().present(*platform::Url::parse(mediaPage()), false);
    ASSERT_TRUE(waitUntil([&] { return !videoPlaying(); }));
    EXPECT_FALSE(controller().wantsWebMediaPlaying());
}

TEST_F(MenuBarWebMediaEngineTest, TheStateFollowsThePageUntilItsMediaIsGone) {
    auto counter = std::make_shared<CountingDelegate>(controller().weak_from_this());
    presentMediaPage();
    controller().webView()->setNavigationDelegate(counter);
    clickToPlay();
    advance(1.1);
    ASSERT_TRUE(waitUntil([&] { return controller().wantsWebMediaPlaying(); })) << "reports after the deadline";

    const std::string silent = brand("网页当前静音或音量为零", "Webpage is muted or volume is zero");
    const auto tooltip = [&] { return controller().playbackStatusButton()->toolTip(); };
    struct Step {
        const char* script;
        bool silent;
    } steps[] = {{"video.muted = true", true}, {"video.muted = false", false}, {"video.volume = 0", true},
                 {"video.volume = 1", false}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.script);
        evaluate(step.script);
        ASSERT_TRUE(waitUntil([&] { return controller().webAudioIsSilent() == step.silent; }));
        EXPECT_EQ(tooltip().find(silent) != std::string::npos, step.silent) << tooltip();
    }

    // Steady playback reports about once a second.
    counter->mediaMessages = 0;
    runEngineFor(3);
    EXPECT_GE(counter->mediaMessages, 2);
    EXPECT_LE(counter->mediaMessages, 6);

    evaluate("video.pause()");
    ASSERT_TRUE(waitUntil([&] { return !controller().isWebMediaPlaying(); }));
    EXPECT_FALSE(controller().playbackStatusButton()->showsPause());
    EXPECT_FALSE(controller().wantsWebMediaPlaying());
    runEngineFor(0.3);
    counter->mediaMessages = 0;
    runEngineFor(1.5);
    EXPECT_EQ(counter->mediaMessages, 0) << "a paused page kept reporting";

    auto slider = controller().playbackProgressSlider();
    EXPECT_FALSE(controller().playbackProgressBar()->isHidden());
    EXPECT_NEAR(slider->maxValue(), 30, 0.5);
    slider->setDoubleValue(12.34567);
    controller().seekWebMedia(*slider);
    ASSERT_TRUE(waitUntil([&] { return evaluate("video.currentTime.toFixed(3)") == "\"12.346\""; }));

    // A page without media: the item goes only once a probe confirms it.
    controller().webView()->load(*platform::Url::parse(server.url("/basic.html")));
    ASSERT_TRUE(waitUntil([&] { return pageFinished("/basic.html"); }));
    runEngineFor(0.3);
    EXPECT_TRUE(controller().playbackStatusItem()->isVisible()) << "gone before the confirmation";
    advance(2.0);
    ASSERT_TRUE(waitUntil([&] { return !controller().hasWebMedia(); }));
    EXPECT_FALSE(controller().playbackStatusItem()->isVisible());
    EXPECT_TRUE(controller().playbackProgressBar()->isHidden());
    EXPECT_FALSE(UserDefaults::standard().boolean(MenuBarWebController::lastMediaAvailableKey));
}

TEST_F(MenuBarWebMediaEngineTest, QuickPlayPausePlayOnTheItemEndsPlaying) {
    presentMediaPage();
    // A video still loading: the pause cuts the first play short, which is
    // no refusal by the page.
    evaluate("video.load(); 0");
    for (int press = 0; press < 3; ++press) controller().toggleWebPlayback();
    ASSERT_TRUE(waitUntil([&] { return videoPlaying() && controller().isWebMediaPlaying(); }));
    runEngineFor(0.5);
    EXPECT_TRUE(controller().wantsWebMediaPlaying()) << "the last press was play";
    EXPECT_FALSE(controller().webAudioNeedsInteraction()) << "the person was told to click the player";
    EXPECT_TRUE(controller().playbackStatusButton()->showsPause());
}

TEST_F(MenuBarWebMediaEngineTest, AFrameCannotForgeTheMediaReport) {
    presentMediaPage();
    const auto home = controller().currentHomeURL();
    evaluate("askChild('forge')");
    ASSERT_TRUE(waitUntil([&] { return evaluate("window.childAnswers.includes('forged')") == "true"; }));
    runEngineFor(0.5);
    EXPECT_EQ(controller().currentHomeURL(), home);
    EXPECT_FALSE(controller().isWebMediaPlaying());
    EXPECT_EQ(UserDefaults::standard().string(MenuBarWebController::lastURLKey), mediaPage());
}

TEST_F(MenuBarWebMediaEngineTest, HiddenMediaPlaysOnAndIsResumedWithinTheRecoveryWindow) {
    presentMediaPage();
    clickToPlay();
    evaluate("video.currentTime = 10");
    advance(1.1);
    ASSERT_TRUE(waitUntil([&] { return controller().wantsWebMediaPlaying() && videoTime() >= 10; }));

    mouse.click({100, 300});
    ASSERT_FALSE(controller().isPanelPresented());
    EXPECT_TRUE(controller().hasBackgroundPlaybackTimer());
    const double hiddenAt = videoTime();
    ASSERT_TRUE(waitUntil([&] { return videoTime() > hiddenAt + 0.5; })) << "the hidden page stopped playing";

    // The system pauses it, behind where it hid: the timer brings it back there.
    evaluate("video.pause(); video.currentTime = 5");
    ASSERT_TRUE(waitUntil([&] { return !controller().isWebMediaPlaying(); }));
    EXPECT_TRUE(controller().wantsWebMediaPlaying()) << "a pause inside the window dropped the intent";
    advance(2.0);
    ASSERT_TRUE(waitUntil([&] { return videoPlaying(); })) << "not resumed";
    EXPECT_GE(videoTime(), hiddenAt - 0.1) << "not rewound to where the panel hid";

    // After the window a pause is the person's (or the page's) last word.
    advance(2.1);
    EXPECT_FALSE(controller().hasBackgroundPlaybackTimer());
    evaluate("video.pause()");
    ASSERT_TRUE(waitUntil([&] { return !controller().isWebMediaPlaying(); }));
    runEngineFor(0.3);
    EXPECT_FALSE(controller().wantsWebMediaPlaying());
    EXPECT_FALSE(UserDefaults::standard().boolean(MenuBarWebController::lastMediaPlayingKey));
}

TEST_F(MenuBarWebMediaEngineTest, ThePlaybackItemPlaysTheLastPageWithoutShowingThePanel) {
    auto& defaults = UserDefaults::standard();
    defaults.set(MenuBarWebController::lastURLKey, server.url("/media.html"));
    defaults.set(MenuBarWebController::lastMediaAvailableKey, true);
    controller().installStatusItems();
    ASSERT_TRUE(controller().playbackStatusItem()->isVisible());
    menuBar.click(*controller().playbackStatusItem());
    ASSERT_TRUE(controller().panel());
    EXPECT_FALSE(controller().isPanelPresented());
    EXPECT_EQ(controller().panel()->alphaValue(), 0);
    EXPECT_TRUE(controller().panel()->ignoresMouseEvents());
    ASSERT_TRUE(waitUntil([&] { return controller().isWebMediaPlaying(); })) << "the hidden page did not play";
    EXPECT_TRUE(videoPlaying());
    EXPECT_EQ(server.requestCount("/media.html"), 1);
    EXPECT_TRUE(controller().playbackStatusButton()->showsPause());
}

TEST_F(MenuBarWebMediaEngineTest, SkipAdFindsTheControlWhereverItIs) {
    const std::string checking = brand("正在检测", "Checking");
    struct Case {
        const char* name;
        std::string page;
        std::size_t answers;
        std::string title;
        const char* clicks;
    } cases[] = {
        {"a known control", "known", 1, brand("已点击跳过", "Skip requested"), "[\"Skip\"]"},
        {"a label in a shadow root", "shadow", 1, brand("已点击跳过", "Skip requested"), "[\"跳过广告 ›\"]"},
        {"a control in a cross-origin frame", "frame&child=" + otherOrigin.url(""), 2,
         brand("已点击跳过", "Skip requested"), "[\"child: Skip\"]"},
        {"a count-down", "countdown", 1, brand("暂不可跳过", "Not yet skippable"), "[]"},
        {"no ad", "none", 1, brand("未检测到广告", "No ad detected"), "[]"},
        {"no script to answer", "gone", 0, brand("请刷新后重试", "Reload and retry"), "[]"},
    };
    controller().installStatusItems();
    controller().present(*platform::Url::parse(server.url("/basic.html")), false);
    ASSERT_TRUE(waitUntil([&] { return pageFinished("/basic.html"); }));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto url = server.url("/skip-ad.html?case=" + c.page);
        controller().webView()->load(*platform::Url::parse(url));
        ASSERT_TRUE(waitUntil([&] {
            return !controller().webView()->isLoading() && controller().webView()->url()->string() == url;
        }));
        ASSERT_TRUE(waitUntil([&] { return evaluate("window.ready === true") == "true"; }));
        controller().skipWebAd();
        EXPECT_EQ(controller().skipAdButton()->title(), checking);
        if (c.answers == 0) {
            runEngineFor(0.3);
        } else {
            ASSERT_TRUE(waitUntil([&] { return controller().skipAdResults().size() >= c.answers; }));
        }
        const auto clicks = nlohmann::json::parse(c.clicks);
        ASSERT_TRUE(waitUntil([&] { return nlohmann::json::parse(evaluate("window.clicks")) == clicks; }))
            << evaluate("window.clicks");
        advance(0.8);
        EXPECT_EQ(controller().skipAdButton()->title(), c.title);
        EXPECT_EQ(controller().skipAdButton()->toolTip(), c.title);
        advance(2.5);
        EXPECT_EQ(controller().skipAdButton()->title(), brand("跳过广告", "Skip Ad"));
    }

    // Of two quick requests only the second counts.
    controller().skipWebAd();
    const auto first = controller().skipAdRequest();
    advance(0.4);
    controller().skipWebAd();
    EXPECT_NE(controller().skipAdRequest(), first);
    advance(0.4);
    EXPECT_EQ(controller().skipAdButton()->title(), checking) << "the first request's answer was shown";
    advance(0.4);
    EXPECT_EQ(controller().skipAdButton()->title(), brand("请刷新后重试", "Reload and retry"));
    advance(2.1);
    EXPECT_EQ(controller().skipAdButton()->title(), brand("请刷新后重试", "Reload and retry"))
        << "the first request's reset changed the second's answer";
    advance(0.4);
    EXPECT_EQ(controller().skipAdButton()->title(), brand("跳过广告", "Skip Ad"));
}

TEST_F(MenuBarWebMediaEngineTest, ThePointerShowsOverAPlayerThatHidesIt) {
    controller().installStatusItems();
    controller().present(*platform::Url::parse(server.url("/cursor.html")), false);
    ASSERT_TRUE(waitUntil([&] { return pageFinished("/cursor.html"); }));
    const auto frame = controller().panel()->frame();
    // Page points at zoom 0.6 under the 52 pt toolbar.
    const auto at = [&](double x, double y) { return ScreenPoint{frame.minX() + x * 0.6, frame.maxY() - 52 - y * 0.6}; };
    const auto inlineCursor = [&] {
        return evaluate("(() => { const s = document.getElementById('player').style; "
                        "return s.getPropertyValue('cursor') + ' ' + s.getPropertyPriority('cursor'); })()");
    };

    mouse.moveTo(at(200, 100));
    ASSERT_TRUE(waitUntil([&] { return inlineCursor() == "\"default important\""; })) << inlineCursor();
    mouse.moveTo(at(200, 220));
    ASSERT_TRUE(waitUntil([&] { return inlineCursor() == "\" \""; })) << "leaving the player kept the override";

    // A cursor the page sets itself after the override stays.
    mouse.moveTo(at(200, 100));
    ASSERT_TRUE(waitUntil([&] { return inlineCursor() == "\"default important\""; }));
    evaluate("document.getElementById('player').style.cursor = 'crosshair'");
    mouse.moveTo(at(200, 220));
    runEngineFor(0.2);
    EXPECT_EQ(inlineCursor(), "\"crosshair \"");
}

TEST_F(MenuBarWebMediaEngineTest, TheCompactLayoutFillsTheViewWithThePlayingVideoAndUndoesIt) {
    presentMediaPage();
    clickToPlay();
    ASSERT_TRUE(waitUntil([&] { return !controller().playbackProgressBar()->isHidden(); }));
    writePicture("panel-playing-video");

    EXPECT_EQ(evaluate("typeof window.__tallowbySetCompactMedia"), "\"undefined\"") << "installed by the panel";
    const std::string fills =
        "(() => { const r = document.getElementById('video').getBoundingClientRect(); "
        "return r.left === 0 && r.top === 0 && Math.abs(r.width - innerWidth) < 1 && "
        "Math.abs(r.height - innerHeight) < 1; })()";  // the 0.6 zoom leaves fractions
    EXPECT_EQ(evaluate(fills), "false");
    evaluate(std::string(MenuBarWebCompactLayout::script()));
    evaluate(MenuBarWebPageScripts::setCompactMedia(true));
    EXPECT_EQ(evaluate(fills), "true") << evaluate(
        "(() => { const v = document.getElementById('video'); const r = v.getBoundingClientRect(); "
        "return [r.left, r.top, r.width, r.height, innerWidth, innerHeight, v.readyState, v.videoWidth, "
        "document.documentElement.className].join(' '); })()");
    EXPECT_EQ(evaluate("getComputedStyle(document.getElementById('child')).visibility"), "\"hidden\"");
    evaluate(MenuBarWebPageScripts::setCompactMedia(false));
    EXPECT_EQ(evaluate(fills), "false");
    EXPECT_EQ(evaluate("document.querySelectorAll('[data-tlw-media-path],[data-tlw-media]').length + "
                       "document.documentElement.className"),
              "\"0\"");
}

}  // namespace
}  // namespace tallowmere
