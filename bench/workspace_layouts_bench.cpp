// Saved layouts run on the main thread: each start decodes layouts.json,
// a capture walks every window of every application and rewrites the file
// while the interface waits, and a pinned window is captured twelve times a
// second for as long as it is pinned.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "platform/desktop/desktop.h"
#include "platform/runtime/timer.h"
#include "program_in_temporary_home.h"
#include "windows/layout_store.h"
#include "windows/window_pin_controller.h"
#include "windows/workspace_layout.h"

namespace {

using namespace tallowmere;

// A busy desk: eight applications with five windows each.
struct Desk {
    bench::ProgramInTemporaryHome program;
    platform::Desktop& desktop = platform::Desktop::shared();

    Desk() {
        desktop.accessibility().setTrusted(true);
        desktop.windowServer().setScreenCaptureAllowed(true);
        if (desktop.screens().screens().empty()) (void)desktop.screens().addScreen({});
        for (int a = 0; a < 8; ++a) {
            auto app = desktop.addApplication(
                {.bundleIdentifier = "com.example.app" + std::to_string(a), .name = "App " + std::to_string(a)});
            if (!app) continue;
            for (int w = 0; w < 5; ++w) {
                (*app)->addWindow({.title = "Window " + std::to_string(w),
                                   .frame = {40.0 * w + a, 40.0 + 30 * w, 700, 500},
                                   .document = "/tmp/doc" + std::to_string(a) + "-" + std::to_string(w) + ".txt"});
            }
            desktop.activate(**app);
        }
    }
};

void BM_DecodeFiftyLayoutsOfFortyWindows(benchmark::State& state) {
    Desk desk;
    auto store = std::make_shared<LayoutStore>();
    for (int i = 0; i < 50; ++i) (void)store->capture("Layout " + std::to_string(i));
    const std::string json = *WorkspaceLayoutCoding::encode(store->layouts);
    for (auto _ : state) benchmark::DoNotOptimize(WorkspaceLayoutCoding::decode(json));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(json.size()));
}
BENCHMARK(BM_DecodeFiftyLayoutsOfFortyWindows)->Unit(benchmark::kMillisecond);

// One capture of forty windows, the file written with ten saved layouts.
void BM_CaptureFortyWindows(benchmark::State& state) {
    Desk desk;
    auto store = std::make_shared<LayoutStore>();
    for (int i = 0; i < 10; ++i) (void)store->capture("Layout");
    for (auto _ : state) {
        benchmark::DoNotOptimize(store->capture("Desk"));
        store->layouts.pop_back();
    }
}
BENCHMARK(BM_CaptureFortyWindows)->Unit(benchmark::kMillisecond);

// One refresh of a pinned window: its frame, a capture and a new picture.
void BM_PinRefreshTick(benchmark::State& state) {
    Desk desk;
    auto pin = std::make_shared<WindowPinController>();
    if (!std::holds_alternative<bool>(pin->toggle(std::nullopt)) || !pin->refreshTimer) {
        state.SkipWithError("nothing could be pinned");
        return;
    }
    for (auto _ : state) pin->refreshTimer->fire();
}
BENCHMARK(BM_PinRefreshTick)->Unit(benchmark::kMicrosecond);

}  // namespace
