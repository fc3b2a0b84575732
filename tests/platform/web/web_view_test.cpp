#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "platform/system/system_log.h"
#include "platform/ui/screen_painter.h"
#include "platform/ui/window.h"
#include "platform/web/web_engine.h"
#include "platform/web/web_view.h"
#include "support/desktop/desktop_fixture.h"
#include "support/web/local_web_server.h"
#include "support/web/web_test.h"

namespace tallowmere::platform {
namespace {

using testing::LocalWebServer;
using testing::waitUntil;

// Records what the view reports.
class RecordingDelegate : public WebViewNavigationDelegate {
public:
    void webViewDidFinishNavigation(WebView& view) override {
        finished.push_back(view.url() ? view.url()->string() : "");
        titlesAtFinish.push_back(view.title().value_or("(none)"));
    }
    void webViewDidFailNavigation(WebView&, const std::string& error) override { failures.push_back(error); }
    void webViewDecidePolicy(WebView&, const WebNavigationAction& action, std::function<void(bool)> decide) override {
        actions.push_back(action);
        decide(!refuse || action.url.find(*refuse) == std::string::npos);
    }
    void webViewDidReceiveScriptMessage(WebView&, const WebScriptMessage& message) override {
        messages.push_back(message);
    }

    std::vector<std::string> finished;
    std::vector<std::string> titlesAtFinish;
    std::vector<std::string> failures;
    std::vector<WebNavigationAction> actions;
    std::vector<WebScriptMessage> messages;
    std::optional<std::string> refuse;
};

class WebViewTest : public testing::DesktopTest {
protected:
    void SetUp() override {
        const auto failure = testing::startWebEngine();
        ASSERT_TRUE(failure.empty()) << failure;
        ASSERT_TRUE(server.isRunning()) << server.failure();
    }

    std::shared_ptr<WebView> makeView(WebViewConfiguration configuration = {}) {
        configuration.scriptMessageHandlers.push_back("probe");
        auto view = WebView::make({{0, 0}, {320, 240}}, configuration);
        if (view) view->setNavigationDelegate(delegate);
        return view;
    }

    void loadAndWait(WebView& view, const std::string& path) {
        const auto before = delegate->finished.size();
        view.load(*Url::parse(server.url(path)));
        ASSERT_TRUE(waitUntil([&] { return delegate->finished.size() > before; })) << path << " did not load";
    }

    std::optional<nlohmann::json> probeMessage(const std::string& kind) {
        for (const auto& message : delegate->messages) {
            auto body = nlohmann::json::parse(message.bodyJSON, nullptr, false);
            if (message.handlerName == "probe" && body.is_object() && body.value("kind", "") == kind) return body;
        }
        return std::nullopt;
    }

    std::string evaluate(WebView& view, const std::string& script) {
        std::optional<std::string> result;
        view.evaluateJavaScript(script, [&](std::optional<std::string> value, std::string error) {
            result = value ? *value : "error: " + error;
        });
        EXPECT_TRUE(waitUntil([&] { return result.has_value(); })) << script;
        return result.value_or("");
    }

    LocalWebServer server{testing::testPagesFolder()};
    std::shared_ptr<RecordingDelegate> delegate = std::make_shared<RecordingDelegate>();
};

TEST_F(WebViewTest, LoadsALocalPagePaintsItAndPassesTheConfiguredAgent) {
    WebViewConfiguration configuration;
    configuration.userAgent = "TallowmereTest/1.0 (Local)";
    auto view = makeView(configuration);
    ASSERT_TRUE(view);
    loadAndWait(*view, "/basic.html");

    EXPECT_EQ(server.requestCount("/basic.html"), 1);
    EXPECT_EQ(server.requests().front().headers.at("user-agent"), "TallowmereTest/1.0 (Local)");
    EXPECT_EQ(evaluate(*view, "navigator.userAgent"), "\"TallowmereTest/1.0 (Local)\"");
    EXPECT_EQ(view->url()->string(), server.url("/basic.html"));
    EXPECT_EQ(server.refusedCount(), 0);

    // The page's background reaches the picture, and the grey filter greys it.
    ASSERT_TRUE(waitUntil([&] { return view->pagePicture().pixel(160, 120).red == 200; }));
    const Pixel plain = view->pagePicture().pixel(160, 120);
    EXPECT_EQ(plain, (Pixel{200, 30, 40, 255}));
    view->setSaturationFilter(0.0);
    const Pixel gray = view->pagePicture().pixel(160, 120);
    EXPECT_EQ(gray.red, gray.green);
    EXPECT_EQ(gray.green, gray.blue);
}

TEST_F(WebViewTest, APressInTheViewReachesThePageAsThePersonsOwnAtThePagePoint) {
    auto window = Window::make(ScreenRect{100, 100, 320, 240}, WindowStyleMask::titled | WindowStyleMask::fullSizeContentView);
    auto view = makeView();
    ASSERT_TRUE(view);
    window->setContentView(view);
    window->makeKeyAndOrderFront();
    loadAndWait(*view, "/basic.html");

    // 30 points right of the window's left edge, 50 under its top.
    mouse.click({130, 100 + 240 - 50});
    ASSERT_TRUE(waitUntil([&] { return probeMessage("mousedown").has_value(); }));
    const auto press = *probeMessage("mousedown");
    EXPECT_TRUE(press["trusted"].get<bool>());
    EXPECT_EQ(press["x"], 30);
    EXPECT_EQ(press["y"], 50);

    keyboard.type("q");
    ASSERT_TRUE(waitUntil([&] { return probeMessage("keydown").has_value(); }));
    EXPECT_TRUE((*probeMessage("keydown"))["trusted"].get<bool>());
    EXPECT_EQ((*probeMessage("keydown"))["key"], "q");
}

// Counts the cancel commands (Esc) that reach it.
class CancellableWindow : public Window {
public:
    CancellableWindow(MakeKey key, ScreenRect contentRect, WindowStyleMask style) : Window(key, contentRect, style) {}
    void cancelOperation() override { ++cancels; }
    int cancels = 0;
};

TEST_F(WebViewTest, EscThePageLeavesUnhandledReachesTheWindow) {
    auto window = Window::make<CancellableWindow>(ScreenRect{100, 100, 320, 240}, WindowStyleMask::titled);
    auto view = makeView();
    ASSERT_TRUE(view);
    window->setContentView(view);
    window->makeKeyAndOrderFront();
    loadAndWait(*view, "/basic.html");
    mouse.click({130, 100 + 240 - 50});
    ASSERT_TRUE(waitUntil([&] { return probeMessage("mousedown").has_value(); }));

    keyboard.press(KeyCode::escape);
    ASSERT_TRUE(waitUntil([&] { return window->cancels == 1; })) << "Esc stopped in the page";
    keyboard.type("q");
    testing::runEngineFor(0.3);
    EXPECT_EQ(window->cancels, 1);

    // A page that takes Esc for itself keeps it.
    evaluate(*view, "document.addEventListener('keydown', (e) => { window.lastKey = e.key; if (e.key === 'Escape') e.preventDefault(); }); 0");
    keyboard.press(KeyCode::escape);
    ASSERT_TRUE(waitUntil([&] { return evaluate(*view, "window.lastKey || ''") == "\"Escape\""; }));
    testing::runEngineFor(0.3);
    EXPECT_EQ(window->cancels, 1) << "the page's own Esc closed the window too";
}

// A page in a window hidden by transparency (the web panel's, playing on)
// runs on, but its frames are drawn nowhere; shown again, the window shows
// the page as it is now, and the page's changes reach the view again.
TEST_F(WebViewTest, AHiddenWindowsPageRunsOnUndrawnAndShowsItsCurrentPictureWhenShown) {
    auto window = Window::make(ScreenRect{100, 100, 320, 240}, WindowStyleMask::borderless);
    auto view = makeView();
    ASSERT_TRUE(view);
    window->setContentView(view);
    window->orderFront();
    loadAndWait(*view, "/basic.html");
    auto painter = ScreenPainter::make(desktop.screens().primaryScreen(), 1);
    ASSERT_TRUE(painter);
    (*painter)->update();
    // The middle of the window, in the painter's rows from the top.
    auto shownColour = [&] { return (*painter)->bitmap().pixel(100 + 160, 900 - 100 - 120); };
    evaluate(*view,
             "window.paint = (colour) => { document.documentElement.style.background = colour;"
             " document.body.style.background = colour; };"
             "window.ticks = 0; window.ticking = setInterval(() => {"
             " ++ticks; paint(ticks % 2 ? 'rgb(0, 0, 200)' : 'rgb(0, 0, 100)'); }, 30); 0");
    view->setNeedsDisplay(false);
    ASSERT_TRUE(waitUntil([&] { return view->needsDisplay(); })) << "the shown page's frames did not reach the view";

    window->setAlphaValue(0);
    EXPECT_FALSE((*painter)->update().empty()) << "the panel did not vanish";
    // The first frame after hiding stops the drawing; frames on their way
    // still arrive.
    view->setNeedsDisplay(false);
    ASSERT_TRUE(waitUntil([&] { return view->needsDisplay(); }));
    testing::runEngineFor(0.3);
    const int ticksHidden = std::stoi(evaluate(*view, "ticks"));
    view->setNeedsDisplay(false);
    testing::runEngineFor(0.5);
    EXPECT_FALSE(view->needsDisplay()) << "the hidden page's frames were still drawn";
    EXPECT_TRUE((*painter)->update().empty());
    EXPECT_GT(std::stoi(evaluate(*view, "ticks")), ticksHidden + 5) << "the hidden page stopped running";

    // The page changes while hidden; the engine's picture follows it.
    evaluate(*view, "clearInterval(ticking); paint('rgb(0, 200, 0)'); 0");
    ASSERT_TRUE(waitUntil([&] { return view->pagePicture().pixel(160, 120) == Pixel{0, 200, 0, 255}; }));
    window->setAlphaValue(1);
    EXPECT_FALSE((*painter)->update().empty());
    EXPECT_EQ(shownColour(), (Pixel{0, 200, 0, 255})) << "the panel came back with a stale picture";

    evaluate(*view, "paint('rgb(0, 0, 200)'); 0");
    ASSERT_TRUE(waitUntil([&] { return view->needsDisplay(); })) << "shown again, the page's frames no longer reach it";
    ASSERT_TRUE(waitUntil([&] {
        (*painter)->update();
        return shownColour() == Pixel{0, 0, 200, 255};
    }));
}

TEST_F(WebViewTest, UserScriptsRunWhereTheyAreMeantTo) {
    WebViewConfiguration configuration;
    // In every frame, before the page's own scripts.
    configuration.userScripts.push_back({"window.__early = document.documentElement.innerHTML.length === 0;"
                                         "window.webkit.messageHandlers.probe.postMessage({kind: 'start', "
                                         "main: window === window.top});",
                                         WebUserScript::InjectionTime::documentStart, false});
    // In a world of the program's own, apart from the page's globals.
    configuration.userScripts.push_back({"window.__hidden = 1;", WebUserScript::InjectionTime::documentEnd, true,
                                         WebUserScript::World::defaultClient});
    auto view = makeView(configuration);
    ASSERT_TRUE(view);
    loadAndWait(*view, "/frames.html");

    ASSERT_TRUE(waitUntil([&] {
        return std::count_if(delegate->messages.begin(), delegate->messages.end(),
                             [](const WebScriptMessage& m) { return m.bodyJSON.find("start") != std::string::npos; }) == 2;
    }));
    EXPECT_EQ(evaluate(*view, "window.__early"), "true");
    EXPECT_EQ(evaluate(*view, "typeof window.__hidden"), "\"undefined\"");
    EXPECT_EQ(server.requestCount("/child.html"), 1);
}

TEST_F(WebViewTest, ARefusedNavigationLeavesThePageWhereItIs) {
    auto view = makeView();
    ASSERT_TRUE(view);
    loadAndWait(*view, "/frames.html");
    delegate->refuse = "/basic.html";

    evaluate(*view, "document.getElementById('link').click(); true");
    ASSERT_TRUE(waitUntil([&] {
        return std::any_of(delegate->actions.begin(), delegate->actions.end(), [](const WebNavigationAction& action) {
            return action.url.ends_with("/basic.html");
        });
    }));
    testing::runEngineFor(0.3);
    EXPECT_EQ(server.requestCount("/basic.html"), 0);
    EXPECT_EQ(view->url()->path(), "/frames.html");
    const auto& refused = delegate->actions.back();
    EXPECT_EQ(refused.type, WebNavigationAction::Type::linkActivated);
    EXPECT_FALSE(refused.opensNewWindow);
}

TEST_F(WebViewTest, CookiesThePageSetsAreInTheEnginesStoreAndSentBack) {
    server.route("/set-cookie", [](const LocalWebServer::Request&) {
        LocalWebServer::Response response;
        response.body = "<title>set</title>";
        response.headers.push_back({"Set-Cookie", "flavour=oat; Path=/; Max-Age=3600; HttpOnly; SameSite=Lax"});
        return response;
    });
    auto view = makeView();
    ASSERT_TRUE(view);
    loadAndWait(*view, "/set-cookie");

    std::optional<std::vector<HttpCookie>> cookies;
    view->allCookies([&](std::vector<HttpCookie> all) { cookies = std::move(all); });
    ASSERT_TRUE(waitUntil([&] { return cookies.has_value(); }));
    ASSERT_EQ(cookies->size(), 1u);
    EXPECT_EQ(cookies->front().name, "flavour");
    EXPECT_EQ(cookies->front().value, "oat");
    EXPECT_EQ(cookies->front().domain, "127.0.0.1");
    EXPECT_TRUE(cookies->front().httpOnly);
    EXPECT_EQ(cookies->front().sameSite, "Lax");
    EXPECT_TRUE(cookies->front().expires.has_value());

    bool set = false;
    view->setCookie({"second", "two", "127.0.0.1", "/", std::nullopt, false, false, ""}, [&] { set = true; });
    ASSERT_TRUE(waitUntil([&] { return set; }));
    loadAndWait(*view, "/basic.html");
    EXPECT_THAT(server.requests().back().headers.at("cookie"), ::testing::HasSubstr("second=two"));
    EXPECT_THAT(server.requests().back().headers.at("cookie"), ::testing::HasSubstr("flavour=oat"));
}

TEST_F(WebViewTest, AFinishedLoadIsReportedWithItsTitleKnown) {
    struct Case {
        const char* path;
        const char* body;
        const char* title;
    } cases[] = {
        {"/titled", "<title>Titled</title>", "Titled"},
        {"/untitled", "<p>none</p>", "(none)"},
        {"/script-title", "<script>document.title = 'From script';</script>", "From script"},
    };
    auto view = makeView();
    ASSERT_TRUE(view);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        server.route(c.path, [body = std::string(c.body)](const LocalWebServer::Request&) {
            return LocalWebServer::Response{200, "text/html; charset=utf-8", body, {}};
        });
        loadAndWait(*view, c.path);
        EXPECT_EQ(delegate->titlesAtFinish.back(), c.title);
    }
    EXPECT_EQ(delegate->finished.size(), std::size(cases)) << "a load was reported twice";

    // The cookie store can be emptied, as a fresh data folder would be.
    bool set = false;
    view->setCookie({"gone", "1", "127.0.0.1", "/", std::nullopt, false, false, ""}, [&] { set = true; });
    ASSERT_TRUE(waitUntil([&] { return set; }));
    bool emptied = false;
    view->removeAllCookies([&] { emptied = true; });
    ASSERT_TRUE(waitUntil([&] { return emptied; }));
    std::optional<std::vector<HttpCookie>> cookies;
    view->allCookies([&](std::vector<HttpCookie> all) { cookies = std::move(all); });
    ASSERT_TRUE(waitUntil([&] { return cookies.has_value(); }));
    EXPECT_TRUE(cookies->empty());
}

TEST_F(WebViewTest, ARequestNamingAnotherHostIsRefusedByTheServer) {
    auto view = makeView();
    ASSERT_TRUE(view);
    loadAndWait(*view, "/basic.html");
    const std::string status = evaluate(*view,
        "(() => { const r = new XMLHttpRequest(); r.open('GET', '/basic.html', false);"
        " try { r.setRequestHeader('Host', 'example.invalid'); } catch (e) {} r.send(); return r.status; })()");
    // The engine keeps the Host header its own, so the page reaches only this server.
    EXPECT_EQ(status, "200");
    EXPECT_EQ(server.refusedCount(), 0);
}

TEST(WebEngineTest, WithoutItsModuleNoViewIsMadeAndOneLineSaysWhy) {
    testing::TemporaryHome home;
    AppContext context({.deterministic = true});
    ::setenv("TALLOWMERE_WEB_DISPLAY", ":99", 1);
    WebEngine::shared().setModulePath("/nonexistent/tallowmere_webkit.so");
    EXPECT_FALSE(WebView::make({{0, 0}, {10, 10}}, {}));
    EXPECT_FALSE(WebView::make({{0, 0}, {10, 10}}, {}));
    const auto lines = SystemLog::shared().lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_THAT(lines.front(), ::testing::StartsWith("Web engine unavailable: cannot load /nonexistent/"));
}

}  // namespace
}  // namespace tallowmere::platform
