// The second page's animated views, frame by frame: the disco lamp drawn
// where it sits on a screen-sized picture at scale 2 (30 times a second
// while it spins), and the full-screen light over a 1440 × 900 screen.
// Targets: a lamp frame under 2 ms; a light frame under 10 ms at scale 1
// and 33 ms at scale 2. And what the page costs when nobody looks: the
// main queue's items in ten seconds of virtual time with the lamp at rest:
// page 2 showing (its background's frames), page 1 showing without trust
// (only the permission dot's blink, once a second), page 1 showing with
// trust, and the window closed (target: none for the last two).
#include <benchmark/benchmark.h>

#include "mainwindow/disco_light_overlay_view.h"
#include "mainwindow/horizontal_paging_coordinator.h"
#include "mainwindow/inverted_disco_lamp_view.h"
#include "mainwindow/main_app_window.h"
#include "mainwindow/main_window_controller.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/event.h"
#include "platform/gfx/cairo_canvas.h"
#include "platform/runtime/app_context.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/main_queue.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/window.h"
#include "program_in_temporary_home.h"

namespace {

using namespace tallowmere;

// The lamp at speed: each frame draws the bulbs one tick further on.
void BM_DiscoLampFrameOnAScreenAtScale2(benchmark::State& state) {
    platform::AppContext context({.deterministic = true});
    auto lamp = InvertedDiscoLampView::make({980, 120, 366, 180});
    auto made = platform::CairoCanvas::make({1440, 900}, 2);
    if (!made.ok()) {
        state.SkipWithError("no canvas");
        return;
    }
    auto& canvas = **made;
    auto& clock = *context.virtualClock();
    lamp->mouseDown(platform::Event::mouse(platform::EventType::leftMouseDown, {}));
    clock.advance(3);
    for (auto _ : state) {
        clock.advance(InvertedDiscoLampView::tickInterval);
        lamp->display(canvas);
        benchmark::ClobberMemory();
    }
    state.counters["turns"] = lamp->motion().rotation / (2 * 3.141592653589793);
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

enum class Shown { pageTwo, pageOne, pageOneTrusted, windowClosed };

// Counts the main queue's items while ten virtual seconds pass.
void BM_MainQueueItemsInTenIdleSeconds(benchmark::State& state) {
    bench::ProgramInTemporaryHome home({.deterministic = true});
    auto& context = platform::AppContext::current();
    const auto shown = static_cast<Shown>(state.range(0));
    platform::DesktopLink::desktop().accessibility().setTrusted(shown == Shown::pageOneTrusted);
    auto window = platform::Window::make<MainAppWindow>(
        platform::ScreenRect{0, 0, 1400, 840},
        platform::WindowStyleMask{platform::WindowStyleMask::titled | platform::WindowStyleMask::closable |
                                  platform::WindowStyleMask::resizable |
                                  platform::WindowStyleMask::fullSizeContentView});
    auto controller = MainWindowController::make(nullptr, nullptr, nullptr, nullptr, {}, window);
    window->makeKeyAndOrderFront();
    if (shown == Shown::pageTwo || shown == Shown::windowClosed) controller->pagingCoordinator()->showSecondPage();
    if (shown == Shown::windowClosed) window->performClose();
    context.virtualClock()->advance(1);  // the page flip settles

    std::size_t items = 0;
    context.mainQueue().onItemPerformed = [&items] { ++items; };
    for (auto _ : state) context.virtualClock()->advance(10);
    context.mainQueue().onItemPerformed = nullptr;
    state.counters["itemsPerTenSeconds"] =
        benchmark::Counter(static_cast<double>(items) / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_MainQueueItemsInTenIdleSeconds)
    ->ArgName("shown")
    ->Arg(static_cast<int>(Shown::pageTwo))
    ->Arg(static_cast<int>(Shown::pageOne))
    ->Arg(static_cast<int>(Shown::pageOneTrusted))
    ->Arg(static_cast<int>(Shown::windowClosed))
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

}  // namespace
