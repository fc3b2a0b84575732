// The quick-launch card is rebuilt after every edit of the list: the pop-up
// refilled and the strip's icons made again, then drawn. Target on a
// development machine, with the machine's real fonts: a refresh with 50
// entries of every kind, the icons drawn once, under 5 ms.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "app/persistent_configuration.h"
#include "mainwindow/main_app_window.h"
#include "mainwindow/main_window_controller.h"
#include "platform/gfx/cairo_canvas.h"
#include "platform/gfx/text_measurer.h"
#include "platform/system/files.h"
#include "platform/system/paths.h"
#include "platform/ui/window.h"
#include "program_in_temporary_home.h"
#include "quicklaunch/quick_launch_entry.h"
#include "quicklaunch/quick_launch_store.h"

namespace tallowmere {
namespace {

using namespace platform;

// Fifty tiles, the five kinds in turn.
std::vector<QuickLaunchEntry> fiftyEntries() {
    std::vector<QuickLaunchEntry> entries;
    for (int index = 0; index < 50; ++index) {
        const auto kind = allQuickLaunchKinds[static_cast<std::size_t>(index) % allQuickLaunchKinds.size()];
        entries.push_back({Uuid::random(), kind, "磁贴 " + std::to_string(index),
                           "https://example.com/" + std::to_string(index), std::nullopt, "globe", std::nullopt});
    }
    return entries;
}

// What each step costs: 0 refreshes and draws, 1 only refreshes, 2 only draws.
void refreshFiftyEntriesAndDrawTheStrip(benchmark::State& state) {
    const auto steps = state.range(0);
    bench::ProgramInTemporaryHome context;
    TextMeasurer::shared().measure("塔洛梅百宝箱 Tallowmere", Font::systemFont(15));
    const auto folder = Paths::home() / "Library/Application Support/Perrowgate";
    std::filesystem::create_directories(folder);
    if (!Files::writeAtomically(folder / "quick-launch.json", *QuickLaunchEntryCoding::encode(fiftyEntries())).ok()) {
        state.SkipWithError("the list could not be written");
        return;
    }
    PersistentConfiguration::shared().activate();
    auto store = std::make_shared<QuickLaunchStore>();
    auto window = Window::make<MainAppWindow>(
        ScreenRect{0, 0, 1400, 840},
        WindowStyleMask{WindowStyleMask::titled | WindowStyleMask::closable | WindowStyleMask::resizable |
                        WindowStyleMask::fullSizeContentView});
    auto controller = MainWindowController::make(nullptr, nullptr, store, nullptr, {}, window);
    window->contentView()->layoutSubtreeIfNeeded();
    auto& strip = *controller->quickLaunchIconStrip;
    auto canvas = CairoCanvas::make({strip.frame().width(), 10 * 88}, 2);
    if (!canvas.ok()) {
        state.SkipWithError("no canvas");
        return;
    }
    for (auto _ : state) {
        if (steps != 2) controller->refreshQuickLaunchEntries();
        strip.layoutSubtreeIfNeeded();
        if (steps != 1) {
            strip.setNeedsDisplay();
            strip.display(**canvas);
        }
    }
    state.counters["entries"] = static_cast<double>(strip.items().size());
}
BENCHMARK(refreshFiftyEntriesAndDrawTheStrip)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tallowmere
