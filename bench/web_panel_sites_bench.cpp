// The web panel's saved sites and cookies: building the start page with 200
// sites (target 1 ms); the main thread's share of archiving 300 cookies
// after a change (target 10 ms); and what restoring 300 archived cookies
// adds before the first request of a page (target at most 150 ms, read as
// the difference between the 0 and 300 runs).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "platform/system/user_defaults.h"
#include "program_in_temporary_home.h"
#include "support/web/local_web_server.h"
#include "support/web/web_test.h"
#include "webpanel/menu_bar_web_controller.h"
#include "webpanel/menu_bar_web_cookie_archive.h"

namespace {

using namespace tallowmere;

std::vector<platform::HttpCookie> cookies(int count) {
    std::vector<platform::HttpCookie> result;
    for (int index = 0; index < count; ++index) {
        result.push_back({"cookie" + std::to_string(index), std::string(40, 'v'), "127.0.0.1", "/",
                          index % 3 == 0 ? std::nullopt : std::optional<double>(4102444800.0), index % 2 == 0,
                          index % 5 == 0, index % 4 == 0 ? "Lax" : ""});
    }
    return result;
}

void storeSites(int count) {
    std::vector<MenuBarWebSite> sites;
    for (int index = 0; index < count; ++index) {
        sites.push_back({platform::Uuid::random(), "Site <" + std::to_string(index) + "> & co",
                         "https://site" + std::to_string(index) + ".example/path?a=1&b=2"});
    }
    const auto json = MenuBarWebStoredState::encodeSites(sites);
    platform::UserDefaults::standard().set(MenuBarWebController::storageKey, platform::Data(json.begin(), json.end()));
}

void BM_StartPageWith200Sites(benchmark::State& state) {
    bench::ProgramInTemporaryHome program({.deterministic = true});
    storeSites(200);
    auto& controller = MenuBarWebController::shared();
    for (auto _ : state) benchmark::DoNotOptimize(controller.customHomeHTML());
}
BENCHMARK(BM_StartPageWith200Sites)->Unit(benchmark::kMicrosecond);

// The main thread's work once the store has handed its cookies over.
void BM_Archive300CookiesAfterAChange(benchmark::State& state) {
    bench::ProgramInTemporaryHome program({.deterministic = true});
    const auto all = cookies(300);
    auto& defaults = platform::UserDefaults::standard();
    for (auto _ : state) {
        const auto json = MenuBarWebCookieArchive::encode(all);
        defaults.set(MenuBarWebController::cookieArchiveKey, platform::Data(json.begin(), json.end()));
    }
}
BENCHMARK(BM_Archive300CookiesAfterAChange)->Unit(benchmark::kMillisecond);

// From presenting the panel on a page to the page's first request, with
// `state.range(0)` cookies archived.
void BM_FirstRequestAfterRestoringCookies(benchmark::State& state) {
    bench::ProgramInTemporaryHome program;
    if (auto failure = testing::startWebEngine(); !failure.empty()) {
        state.SkipWithError(failure.c_str());
        return;
    }
    testing::LocalWebServer server(testing::testPagesFolder());
    const auto json = MenuBarWebCookieArchive::encode(cookies(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        state.PauseTiming();
        platform::UserDefaults::standard().set(MenuBarWebController::cookieArchiveKey,
                                               platform::Data(json.begin(), json.end()));
        auto controller = MenuBarWebController::makeShared();
        platform::AppContext::current().setShared(controller);
        const int before = server.requestCount("/basic.html");
        state.ResumeTiming();
        controller->present(*platform::Url::parse(server.url("/basic.html")), false);
        if (!testing::waitUntil([&] { return server.requestCount("/basic.html") > before; }, 30)) {
            state.SkipWithError("the page was never asked for");
            return;
        }
        state.PauseTiming();
        bool emptied = false;
        controller->webView()->setNavigationDelegate({});
        controller->webView()->removeAllCookies([&] { emptied = true; });
        testing::waitUntil([&] { return emptied; }, 10);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FirstRequestAfterRestoringCookies)->Arg(0)->Arg(300)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

}  // namespace
