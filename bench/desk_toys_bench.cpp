// The desk toys' frames: one motion tick of the most buddies there can be
// (each moved, turned and its panel placed), and one light-show frame over a
// 1440 × 900 screen drawn with cairo.
#include <benchmark/benchmark.h>

#include "platform/gfx/cairo_canvas.h"
#include "platform/runtime/app_context.h"
#include "platform/runtime/clock.h"
#include "toys/disco_light_show_view.h"
#include "toys/fly_simulation_controller.h"
#include "toys/toy_random.h"

namespace {

using namespace tallowmere;

void BM_BuddyMotionTickFortyBuddies(benchmark::State& state) {
    platform::AppContext context({.deterministic = true});
    ToyRandom::shared().seed(1);
    auto& buddies = FlySimulationController::shared();
    for (int i = 0; i < 4; ++i) buddies.summonTenRandomBuddies();
    auto& clock = *context.virtualClock();
    clock.setScheduler(nullptr);  // the loop below is the timer
    for (auto _ : state) {
        clock.advance(FlySimulationController::frameInterval);
        buddies.tick();
    }
    state.counters["buddies"] = static_cast<double>(buddies.flies().size());
}
BENCHMARK(BM_BuddyMotionTickFortyBuddies)->Unit(benchmark::kMicrosecond);

// At the screen's backing scale: 1, and 2 as on a Retina screen.
void BM_LightShowFrame1440x900(benchmark::State& state) {
    platform::AppContext context({.deterministic = true});
    const platform::Size screen{1440, 900};
    auto made = platform::CairoCanvas::make(screen, static_cast<double>(state.range(0)));
    if (!made.ok()) {
        state.SkipWithError("no cairo canvas");
        return;
    }
    auto& canvas = **made;
    double phase = 0;
    for (auto _ : state) {
        phase += 0.018;  // a frame's turn at 0.54 rad/s
        // The panel's backing starts clear each frame.
        canvas.save();
        canvas.setCompositingOperation(platform::CompositingOperation::clear);
        canvas.fillRect({0, 0, screen.width, screen.height});
        canvas.restore();
        paintLightShow(canvas, screen, {720, 801}, phase, 0);
    }
}
BENCHMARK(BM_LightShowFrame1440x900)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
