// The second page's animated views, frame by frame: the disco lamp drawn
// where it sits on a screen-sized picture at scale 2 (30 times a second
// while it spins), and the full-screen light over a 1440 × 900 screen.
#include <benchmark/benchmark.h>

#include "mainwindow/disco_light_overlay_view.h"
#include "mainwindow/inverted_disco_lamp_view.h"
#include "platform/gfx/cairo_canvas.h"
#include "platform/runtime/app_context.h"

namespace {

using namespace tallowmere;

void BM_DiscoLampFrameOnAScreenAtScale2(benchmark::State& state) {
    platform::AppContext context({.deterministic = true});
    auto lamp = InvertedDiscoLampView::make({980, 120, 366, 180});
    auto made = platform::CairoCanvas::make({1440, 900}, 2);
    if (!made.ok()) {
        state.SkipWithError("no canvas");
        return;
    }
    auto& canvas = **made;
    for (auto _ : state) {
        lamp->display(canvas);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DiscoLampFrameOnAScreenAtScale2)->Unit(benchmark::kMillisecond);

void BM_FullScreenLightFrame(benchmark::State& state) {
    platform::AppContext context({.deterministic = true});
    const double scale = static_cast<double>(state.range(0));
    auto overlay = DiscoLightOverlayView::make({0, 0, 1440, 900});
    overlay->update({1160, 660}, 1.3, 0.8);
    auto made = platform::CairoCanvas::make({1440, 900}, scale);
    if (!made.ok()) {
        state.SkipWithError("no canvas");
        return;
    }
    auto& canvas = **made;
    for (auto _ : state) {
        overlay->display(canvas);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FullScreenLightFrame)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
