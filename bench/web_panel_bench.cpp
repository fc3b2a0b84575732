// The web panel's engine: a local page from first load to first picture
// (target 0.6 s, the engine's start included in the first run), and a
// repaint of a page that does not change (target 1 ms at 290 × 348).
// Media: the playback item's play to the item showing pause (target 100 ms),
// and the CPU of this process and of the engine's web process while a hidden
// panel plays a 30 fps video (target under 2 % of a core for this process).
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

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

// The panel's controller on the media page, its media reported.
bool controllerOnMediaPage(benchmark::State& state, testing::LocalWebServer& server) {
    auto& controller = MenuBarWebController::shared();
    controller.ensurePanel();
    if (!controller.webView()) {
        state.SkipWithError("no web view");
        return false;
    }
    controller.webView()->load(*platform::Url::parse(server.url("/media.html")));
    if (!testing::waitUntil([&] { return controller.hasWebMedia(); }, 30)) {
        state.SkipWithError("the media page never reported its video");
        return false;
    }
    return true;
}

void BM_PlaybackItemPlayToPauseSymbol(benchmark::State& state) {
    bench::ProgramInTemporaryHome program;
    if (auto failure = testing::startWebEngine(); !failure.empty()) {
        state.SkipWithError(failure.c_str());
        return;
    }
    testing::LocalWebServer server(testing::testPagesFolder());
    if (!controllerOnMediaPage(state, server)) return;
    auto& controller = MenuBarWebController::shared();
    for (auto _ : state) {
        controller.toggleWebPlayback();
        if (!testing::waitUntil([&] { return controller.playbackStatusButton()->showsPause(); }, 10)) {
            state.SkipWithError("the item never showed pause");
            return;
        }
        state.PauseTiming();
        controller.toggleWebPlayback();
        testing::waitUntil([&] { return !controller.isWebMediaPlaying(); }, 10);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PlaybackItemPlayToPauseSymbol)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();

// Seconds of CPU the process with this /proc entry has used.
double processSeconds(const std::string& stat) {
    std::ifstream file(stat);
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const auto close = text.rfind(')');
    if (close == std::string::npos) return 0;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    unsigned long long utime = 0, stime = 0;
    for (int i = 3; fields >> field; ++i) {
        if (i == 14) utime = std::stoull(field);
        if (i == 15) {
            stime = std::stoull(field);
            break;
        }
    }
    return double(utime + stime) / double(::sysconf(_SC_CLK_TCK));
}

// The engine's web processes started by this one.
double webProcessSeconds() {
    double seconds = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::ifstream comm(entry.path() / "comm");
        std::string name;
        if (!(comm >> name) || name.rfind("WebKitWebProces", 0) != 0) continue;
        seconds += processSeconds((entry.path() / "stat").string());
    }
    return seconds;
}

double ownSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void BM_HiddenPanelPlayingVideoCPU(benchmark::State& state) {
    bench::ProgramInTemporaryHome program;
    if (auto failure = testing::startWebEngine(); !failure.empty()) {
        state.SkipWithError(failure.c_str());
        return;
    }
    testing::LocalWebServer server(testing::testPagesFolder());
    if (!controllerOnMediaPage(state, server)) return;
    auto& controller = MenuBarWebController::shared();
    controller.toggleWebPlayback();
    if (!testing::waitUntil([&] { return controller.isWebMediaPlaying(); }, 10)) {
        state.SkipWithError("the video never played");
        return;
    }
    constexpr double seconds = 5;
    double own = 0;
    double web = 0;
    for (auto _ : state) {
        const double ownBefore = ownSeconds();
        const double webBefore = webProcessSeconds();
        testing::runEngineFor(seconds);
        own += ownSeconds() - ownBefore;
        web += webProcessSeconds() - webBefore;
    }
    state.counters["program_cpu_percent"] = 100 * own / (seconds * double(state.iterations()));
    state.counters["web_process_cpu_percent"] = 100 * web / (seconds * double(state.iterations()));
}
BENCHMARK(BM_HiddenPanelPlayingVideoCPU)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

}  // namespace
