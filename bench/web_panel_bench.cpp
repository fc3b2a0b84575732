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
#include <memory>
#include <optional>
#include <sstream>
#include <string>

#include "platform/runtime/app_context.h"
#include "platform/web/web_view.h"
#include "program_in_temporary_home.h"
#include "support/web/local_web_server.h"
#include "support/web/web_test.h"
#include "webpanel/menu_bar_web_controller.h"

namespace {

using namespace tallowmere;

// A program in a temporary home with the web engine started and the test
// pages served from 127.0.0.1; `ready` says why a benchmark cannot run.
class WebBench {
public:
    explicit WebBench(platform::AppContext::Options options = {})
        : program_(options), engineFailure_(testing::startWebEngine()) {}

    bool ready(benchmark::State& state) {
        if (!engineFailure_.empty()) return skip(state, engineFailure_);
        if (!server_.isRunning()) return skip(state, "no local web server: " + server_.failure());
        return true;
    }

    platform::Url url(const std::string& path) const { return *platform::Url::parse(server_.url(path)); }

    // The panel's controller on the media page, its media reported; null
    // (the benchmark skipped) when the page never reports.
    MenuBarWebController* controllerOnMediaPage(benchmark::State& state) {
        auto& controller = MenuBarWebController::shared();
        controller.ensurePanel();
        if (!controller.webView()) {
            skip(state, "no web view");
            return nullptr;
        }
        controller.webView()->load(url("/media.html"));
        if (!testing::waitUntil([&] { return controller.hasWebMedia(); }, 30)) {
            skip(state, "the media page never reported its video");
            return nullptr;
        }
        return &controller;
    }

    static bool skip(benchmark::State& state, const std::string& why) {
        state.SkipWithError(why.c_str());
        return false;
    }

private:
    bench::ProgramInTemporaryHome program_;
    std::string engineFailure_;
    testing::LocalWebServer server_{testing::testPagesFolder()};
};

platform::WebViewConfiguration panelConfiguration() {
    platform::WebViewConfiguration configuration;
    configuration.userAgent = MenuBarWebController::mobileUserAgent;
    configuration.pageZoom = 0.6;
    return configuration;
}

bool showsPage(platform::WebView& view) { return view.pagePicture().pixel(100, 200).red == 200; }

void BM_LocalPageFirstLoadToFirstPicture(benchmark::State& state) {
    WebBench bench({.deterministic = true});
    if (!bench.ready(state)) return;
    for (auto _ : state) {
        auto view = platform::WebView::make({{0, 0}, {290, 348}}, panelConfiguration());
        view->load(bench.url("/basic.html"));
        if (!testing::waitUntil([&] { return showsPage(*view); }, 30)) state.SkipWithError("the page never showed");
    }
}
BENCHMARK(BM_LocalPageFirstLoadToFirstPicture)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_StaticPageRepaint(benchmark::State& state) {
    WebBench bench({.deterministic = true});
    if (!bench.ready(state)) return;
    auto view = platform::WebView::make({{0, 0}, {290, 348}}, panelConfiguration());
    view->load(bench.url("/basic.html"));
    if (!testing::waitUntil([&] { return showsPage(*view); }, 30)) {
        state.SkipWithError("the page never showed");
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(view->pagePicture());
}
BENCHMARK(BM_StaticPageRepaint)->Unit(benchmark::kMillisecond);

// Whether the page's own video is paused, as the page answers it.
std::optional<bool> pageVideoPaused(platform::WebView& view) {
    std::optional<std::string> answer;
    view.evaluateJavaScript("document.getElementById('video').paused",
                            [&](std::optional<std::string> value, const std::string&) { answer = value.value_or(""); });
    if (!testing::waitUntil([&] { return answer.has_value(); }, 10)) return std::nullopt;
    return *answer == "true";
}

void BM_PlaybackItemPlayToPauseSymbol(benchmark::State& state) {
    WebBench bench;
    if (!bench.ready(state)) return;
    auto* controller = bench.controllerOnMediaPage(state);
    if (!controller) return;
    for (auto _ : state) {
        controller->toggleWebPlayback();
        if (!testing::waitUntil([&] { return controller->playbackStatusButton()->showsPause(); }, 10)) {
            state.SkipWithError("the item never showed pause");
            return;
        }
        state.PauseTiming();
        // The toggle shows play at once; the next round starts from a page
        // that really stopped and a report that says so.
        controller->toggleWebPlayback();
        const bool paused = testing::waitUntil([&] { return pageVideoPaused(*controller->webView()) == true; }, 10);
        testing::runEngineFor(1.1);
        if (!paused || controller->isWebMediaPlaying() || controller->wantsWebMediaPlaying()) {
            state.SkipWithError("the video did not stay paused");
            return;
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PlaybackItemPlayToPauseSymbol)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();

// Seconds of CPU the process with this /proc entry has used.
double processSeconds(const std::filesystem::path& stat) {
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
    const std::string parent = std::to_string(::getpid());
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::ifstream comm(entry.path() / "comm");
        std::string name;
        if (!(comm >> name) || name.rfind("WebKitWebProces", 0) != 0) continue;
        std::ifstream status(entry.path() / "status");
        std::string line;
        bool ours = false;
        while (std::getline(status, line)) {
            if (line.rfind("PPid:", 0) == 0) ours = line.substr(line.find_first_not_of(" \t", 5)) == parent;
        }
        if (ours) seconds += processSeconds(entry.path() / "stat");
    }
    return seconds;
}

double ownSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The main queue as the program runs it, waiting in the engine's loop, for
// `seconds` of real time.
void runProgramLoopFor(double seconds) {
    auto& queue = platform::AppContext::current().mainQueue();
    bool elapsed = false;
    queue.asyncAfter(seconds, [&] { elapsed = true; });
    queue.runUntil([&] { return elapsed; });
}

void BM_HiddenPanelPlayingVideoCPU(benchmark::State& state) {
    WebBench bench;
    if (!bench.ready(state)) return;
    auto* controller = bench.controllerOnMediaPage(state);
    if (!controller) return;
    controller->toggleWebPlayback();
    if (!testing::waitUntil([&] { return controller->isWebMediaPlaying(); }, 10)) {
        state.SkipWithError("the video never played");
        return;
    }
    constexpr double seconds = 5;
    double own = 0;
    double web = 0;
    for (auto _ : state) {
        const double ownBefore = ownSeconds();
        const double webBefore = webProcessSeconds();
        runProgramLoopFor(seconds);
        own += ownSeconds() - ownBefore;
        web += webProcessSeconds() - webBefore;
    }
    if (!controller->isWebMediaPlaying()) state.SkipWithError("the video stopped while hidden");
    state.counters["program_cpu_percent"] = 100 * own / (seconds * double(state.iterations()));
    state.counters["web_process_cpu_percent"] = 100 * web / (seconds * double(state.iterations()));
}
BENCHMARK(BM_HiddenPanelPlayingVideoCPU)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

}  // namespace
