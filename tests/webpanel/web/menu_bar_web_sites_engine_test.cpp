#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/system/user_defaults.h"
#include "support/web/web_test.h"
#include "webpanel/menu_bar_web_cookie_archive.h"
#include "webpanel/web/menu_bar_web_engine_fixture.h"

namespace tallowmere {
namespace {

using platform::UserDefaults;
using testing::LocalWebServer;
using testing::MenuBarWebPanelEngineTest;
using testing::waitUntil;

std::vector<platform::HttpCookie> archivedCookies() {
    const auto data = UserDefaults::standard().data(MenuBarWebController::cookieArchiveKey);
    if (!data) return {};
    return MenuBarWebCookieArchive::decode(std::string(data->begin(), data->end())).value_or(std::vector<platform::HttpCookie>{});
}

TEST_F(MenuBarWebPanelEngineTest, CookiesComeBackBeforeTheFirstRequestAfterARestart) {
    server.route("/login", [](const LocalWebServer::Request&) {
        LocalWebServer::Response response;
        response.body = "<title>Signed in</title>";
        response.headers = {{"Set-Cookie", "sid=kept-42; Max-Age=86400; Path=/; HttpOnly"},
                            {"Set-Cookie", "visit=1; Path=/"}};
        return response;
    });
    controller().present(*platform::Url::parse(server.url("/login")), false);
    ASSERT_TRUE(waitUntil([&] { return pageFinished("/login"); }));
    ASSERT_TRUE(waitUntil([&] { return archivedCookies().size() == 2; })) << "the cookies were not archived";
    const auto archived = archivedCookies();
    const auto sid = std::find_if(archived.begin(), archived.end(), [](const auto& c) { return c.name == "sid"; });
    ASSERT_NE(sid, archived.end());
    EXPECT_EQ(sid->value, "kept-42");
    EXPECT_TRUE(sid->httpOnly);
    EXPECT_TRUE(sid->expires);

    // The restart: the old panel is gone and the engine's own store is
    // empty, as with its data folder removed; only the archive is left.
    auto old = controller().webView();
    old->setNavigationDelegate({});
    bool emptied = false;
    old->removeAllCookies([&] { emptied = true; });
    ASSERT_TRUE(waitUntil([&] { return emptied; }));
    auto restarted = MenuBarWebController::makeShared();
    platform::AppContext::current().setShared(restarted);
    restarted->present(*platform::Url::parse(server.url("/basic.html")), false);
    ASSERT_TRUE(waitUntil([&] { return pageFinished("/basic.html"); }));
    std::vector<LocalWebServer::Request> pages;
    for (const auto& request : server.requests()) {
        if (request.path == "/basic.html") pages.push_back(request);
    }
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_THAT(pages[0].headers["cookie"], ::testing::HasSubstr("sid=kept-42"))
        << "the first request went out without the archived cookie";
    EXPECT_THAT(pages[0].headers["cookie"], ::testing::HasSubstr("visit=1"));
    EXPECT_TRUE(restarted->cookiesRestored());
    EXPECT_EQ(archivedCookies().size(), 2u) << "the restore lost cookies from the archive";
}

}  // namespace
}  // namespace tallowmere
