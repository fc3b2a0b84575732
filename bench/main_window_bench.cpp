// The main window: built once on first show, laid out on every resize,
// drawn on every frame of a page flip. Targets on a development machine,
// with the machine's real fonts loaded first: the window built and page 1
// laid out under 15 ms; a resize that keeps the grouping of the columns
// under 50 µs; page 1 drawn, and a frame of the page flip, under 16 ms each
// at scale 2.
#include <benchmark/benchmark.h>

#include <memory>

#include "mainwindow/horizontal_paging_coordinator.h"
#include "mainwindow/inverted_disco_lamp_view.h"
#include "mainwindow/main_app_window.h"
#include "mainwindow/main_window_controller.h"
#include "mainwindow/wrapping_columns_view.h"
#include "platform/desktop/desktop.h"
#include "platform/gfx/cairo_canvas.h"
#include "platform/gfx/text_measurer.h"
#include "platform/runtime/app_context.h"
#include "platform/ui/label.h"
#include "platform/ui/screen_snapshot.h"
#include "platform/ui/scroll_view.h"
#include "platform/ui/stack_view.h"
#include "platform/ui/window.h"
#include "program_in_temporary_home.h"
#include "windows/input_controller.h"
#include "windows/snap_engine.h"

namespace tallowmere {
namespace {

using namespace platform;

using RealContext = bench::ProgramInTemporaryHome;

std::shared_ptr<MainAppWindow> makeWindow() {
    return Window::make<MainAppWindow>(
        ScreenRect{0, 0, 1400, 840},
        WindowStyleMask{WindowStyleMask::titled | WindowStyleMask::closable | WindowStyleMask::miniaturizable |
                        WindowStyleMask::resizable | WindowStyleMask::fullSizeContentView});
}

std::shared_ptr<MainWindowController> makeController() {
    return MainWindowController::make(nullptr, nullptr, nullptr, nullptr, {}, makeWindow());
}

// Fonts are loaded once for the process; the first build pays for them.
void loadFonts() { TextMeasurer::shared().measure("塔洛梅百宝箱 Tallowmere", Font::systemFont(15)); }

void buildWindowAndLayOutPageOne(benchmark::State& state) {
    RealContext context;
    loadFonts();
    for (auto _ : state) {
        auto controller = makeController();
        auto content = controller->window()->contentView();
        content->layoutSubtreeIfNeeded();
        benchmark::DoNotOptimize(controller->mainLayoutRoot()->frame());
        state.PauseTiming();
        controller.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(buildWindowAndLayOutPageOne)->Unit(benchmark::kMillisecond);

// Widths that all keep the three columns of page 1 in one row.
void resizeKeepingTheGrouping(benchmark::State& state) {
    RealContext context;
    loadFonts();
    auto controller = makeController();
    auto window = controller->window();
    auto content = window->contentView();
    content->layoutSubtreeIfNeeded();
    auto root = std::static_pointer_cast<StackView>(controller->mainLayoutRoot());
    auto columns = std::static_pointer_cast<WrappingColumnsView>(root->arrangedSubviews().at(1));
    double width = 1380;
    for (auto _ : state) {
        width = width >= 1399 ? 1380 : width + 1;
        columns->setFrameSize({width, columns->frame().height()});
        columns->layoutSubtreeIfNeeded();
        benchmark::DoNotOptimize(columns->currentRows());
    }
}
BENCHMARK(resizeKeepingTheGrouping)->Unit(benchmark::kMicrosecond);

std::unique_ptr<CairoCanvas> makeCanvas(Size size) {
    auto canvas = CairoCanvas::make(size, 2);
    return canvas ? std::move(*canvas) : nullptr;
}

void drawPageOne(benchmark::State& state) {
    RealContext context;
    loadFonts();
    auto controller = makeController();
    auto window = controller->window();
    window->contentView()->layoutSubtreeIfNeeded();
    auto canvas = makeCanvas({1400, 840});
    for (auto _ : state) {
        window->contentView()->setNeedsDisplay();
        window->contentView()->display(*canvas);
    }
}
BENCHMARK(drawPageOne)->Unit(benchmark::kMillisecond);

// What changes inside the pages between two frames of a flip.
enum class PageChange { none, bothPagesWhole, spinningLamp };

// The first view of the tree that is a T, depth first.
template <class T>
std::shared_ptr<T> findFirst(const std::shared_ptr<View>& view) {
    if (auto match = std::dynamic_pointer_cast<T>(view)) return match;
    for (const auto& subview : view->subviews())
        if (auto match = findFirst<T>(subview)) return match;
    return nullptr;
}

// Halfway through the cross-fade both pages are drawn, at half alpha. A
// fading page keeps a picture of its content and paints it at its alpha;
// page 2's breathing wash stays live.
void drawPageFlipFrames(benchmark::State& state, PageChange change) {
    RealContext context;
    loadFonts();
    auto controller = makeController();
    auto window = controller->window();
    window->contentView()->layoutSubtreeIfNeeded();
    auto pages = controller->pagingCoordinator()->pages();
    for (const auto& page : pages) {
        page->setHidden(false);
        page->setAlphaValue(0.5);
    }
    auto lamp = findFirst<InvertedDiscoLampView>(pages[1]);
    if (change == PageChange::spinningLamp) {
        // Page 2 scrolled so the lamp shows.
        auto scroll = findFirst<ScrollView>(pages[1]);
        scroll->scrollRectToVisible(lamp->convert(lamp->bounds(), scroll->documentView().get()));
    }
    auto canvas = makeCanvas({1400, 840});
    for (auto _ : state) {
        if (change == PageChange::bothPagesWhole) {
            for (const auto& page : pages) page->subviews().front()->setNeedsDisplay();
        } else if (change == PageChange::spinningLamp) {
            lamp->setNeedsDisplay();
        }
        window->contentView()->setNeedsDisplay();
        window->contentView()->display(*canvas);
    }
}

void drawPageFlipFrame(benchmark::State& state) { drawPageFlipFrames(state, PageChange::none); }
BENCHMARK(drawPageFlipFrame)->Unit(benchmark::kMillisecond);

// The first frame of a flip, or any frame after a change all over both
// pages: each page's picture is drawn afresh.
void drawPageFlipFrameAfterPagesChanged(benchmark::State& state) {
    drawPageFlipFrames(state, PageChange::bothPagesWhole);
}
BENCHMARK(drawPageFlipFrameAfterPagesChanged)->Unit(benchmark::kMillisecond);

// A frame while page 2's lamp spins: only its part of the picture is drawn again.
void drawPageFlipFrameWhileTheLampSpins(benchmark::State& state) { drawPageFlipFrames(state, PageChange::spinningLamp); }
BENCHMARK(drawPageFlipFrameWhileTheLampSpins)->Unit(benchmark::kMillisecond);

// What the program does each time it becomes active while the main window
// exists: trust, every switch, the login item, the appearance controls and
// the status-icon preview read afresh, with the input controller attached.
// Target: under 1 ms, trusted or not.
void refreshRuntimeState(benchmark::State& state) {
    bench::ProgramInTemporaryHome context;
    TextMeasurer::shared().measure("塔洛梅百宝箱 Tallowmere", Font::systemFont(15));
    Desktop::shared().accessibility().setTrusted(state.range(0) != 0);
    auto input = InputController::make(std::make_shared<SnapEngine>(), nullptr);
    auto window = Window::make<MainAppWindow>(
        ScreenRect{0, 0, 1400, 840},
        WindowStyleMask{WindowStyleMask::titled | WindowStyleMask::closable | WindowStyleMask::miniaturizable |
                        WindowStyleMask::resizable | WindowStyleMask::fullSizeContentView});
    auto controller = MainWindowController::make(nullptr, nullptr, nullptr, input, {}, window);
    window->contentView()->layoutSubtreeIfNeeded();
    for (auto _ : state) {
        controller->refreshRuntimeState();
        benchmark::DoNotOptimize(controller->permissionLabel->stringValue());
    }
}
BENCHMARK(refreshRuntimeState)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tallowmere
