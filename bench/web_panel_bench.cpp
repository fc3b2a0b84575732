// The web panel's engine: a local page from first load to first picture
// (target 0.6 s, the engine's start included in the first run), and a
// repaint of a page that does not change (target 1 ms at 290 × 348).
#include <benchmark/benchmark.h>

#include <cstdio>

#include "platform/web/web_view.h"
#include "program_in_temporary_home.h"
#include "support/web/local_web_server.h"
#include "support/web/web_test.h"
#include "webpanel/menu_bar_web_controller.h"

namespace {

using namespace tallowmere;

platform::WebViewConfiguration panelConfiguration() {
    platform::WebViewConfiguration configuration;
    configuration.userAgent = MenuBarWebController::mobileUserAgent;
    configuration.pageZoom = 0.6;
    return configuration;
}

bool showsPage(platform::WebView& view) { return view.pagePicture().pixel(100, 200).red == 200; }

void BM_LocalPageFirstLoadToFirstPicture(benchmark::State& state) {
    bench::ProgramInTemporaryHome program({.deterministic = true});
    if (auto failure = testing::startWebEngine(); !failure.empty()) {
        state.SkipWithError(failure.c_str());
        return;
    }
    testing::LocalWebServer server(testing::testPagesFolder());
    for (auto _ : state) {
        auto view = platform::WebView::make({{0, 0}, {290, 348}}, panelConfiguration());
        view->load(*platform::Url::parse(server.url("/basic.html")));
        if (!testing::waitUntil([&] { return showsPage(*view); }, 30)) state.SkipWithError("the page never showed");
    }
}
BENCHMARK(BM_LocalPageFirstLoadToFirstPicture)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_StaticPageRepaint(benchmark::State& state) {
    bench::ProgramInTemporaryHome program({.deterministic = true});
    if (auto failure = testing::startWebEngine(); !failure.empty()) {
        state.SkipWithError(failure.c_str());
        return;
    }
    testing::LocalWebServer server(testing::testPagesFolder());
    auto view = platform::WebView::make({{0, 0}, {290, 348}}, panelConfiguration());
    view->load(*platform::Url::parse(server.url("/basic.html")));
    if (!testing::waitUntil([&] { return showsPage(*view); }, 30)) {
        state.SkipWithError("the page never showed");
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(view->pagePicture());
}
BENCHMARK(BM_StaticPageRepaint)->Unit(benchmark::kMillisecond);

}  // namespace
