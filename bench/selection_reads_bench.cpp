// The selection bar reads the selection's style on the main thread before it
// shows, so the summary of a long, richly styled selection must not hold up
// the mouse: target under 2 ms for 1,000 style runs.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "front_editor_window.h"
#include "program_in_temporary_home.h"
#include "platform/desktop/desktop.h"
#include "platform/runtime/app_context.h"
#include "selection/selection_accessibility.h"
#include "windows/screen_geometry.h"

namespace tallowmere {
namespace {

// A private HOME and a fresh context with its simulated desktop.
class BenchContext : public bench::ProgramInTemporaryHome {
public:
    BenchContext() : ProgramInTemporaryHome({.deterministic = true}) {}
};

void BM_SelectedTextStyleOfThousandRuns(benchmark::State& state) {
    BenchContext context;
    auto window = bench::frontEditorWindow();
    if (!window) {
        state.SkipWithError("no application");
        return;
    }
    constexpr int runCount = 1000;
    std::string text;
    std::vector<platform::AXAttributedString::Run> runs;
    for (int i = 0; i < runCount; ++i) {
        text += "word ";
        runs.push_back({5, {{"NSFont", platform::AXFont{.fontName = "Helvetica", .familyName = "Helvetica",
                                                         .pointSize = 10.0 + i % 7, .weightTrait = (i % 5) * 0.2 - 0.4}},
                            {"NSColor", platform::AXColor{(i % 3) / 2.0, (i % 11) / 10.0, 0.5, 1}}}});
    }
    const auto length = static_cast<std::int64_t>(text.size());
    window->addElement({.role = platform::AXRole::textArea, .frame = {0, 40, 800, 300}, .value = text,
                        .selectedRange = platform::AXRange{0, length}, .styleRuns = runs});
    const auto point = ScreenGeometry::toScreen(platform::AXPoint{200, 200});
    if (!Accessibility::selectedTextStyle(point)) {
        state.SkipWithError("no style read");
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(Accessibility::selectedTextStyle(point));
}
BENCHMARK(BM_SelectedTextStyleOfThousandRuns)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tallowmere
