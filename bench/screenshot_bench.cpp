// A whole 2880 × 1800 screen captured by the screenshot tool: the area
// taken, encoded and written to the Desktop, read back and put on the
// pasteboard, as after a person's drag over the whole Retina screen.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "platform/desktop/desktop.h"
#include "platform/runtime/app_context.h"
#include "platform/system/paths.h"
#include "platform/ui/application.h"
#include "program_in_temporary_home.h"
#include "screen/screenshot_controller.h"

namespace tallowmere {
namespace {

void BM_CaptureWholeRetinaScreen(benchmark::State& state) {
    bench::ProgramInTemporaryHome program({.deterministic = true});
    auto& context = platform::AppContext::current();
    platform::Application::shared();
    auto& desktop = platform::Desktop::shared();
    desktop.windowServer().setScreenCaptureAllowed(true);
    for (int i = 0; i < 4; ++i) {
        platform::ApplicationSpec spec{.bundleIdentifier = "com.example.app" + std::to_string(i),
                                       .name = "App " + std::to_string(i)};
        if (auto app = desktop.addApplication(spec); app.ok()) {
            (*app)->addWindow({.title = "Window " + std::to_string(i), .frame = {80.0 + i * 120, 60.0 + i * 80, 800, 560}});
        }
    }
    const auto screen = desktop.screens().primaryScreen();
    desktop.screenCapture().chooseArea = [frame = screen->frame()] { return std::optional(frame); };
    std::filesystem::create_directories(platform::Paths::desktop());
    auto& controller = ScreenshotController::shared();
    for (auto _ : state) {
        state.PauseTiming();
        controller.requestCapture();
        context.virtualClock()->advance(ScreenshotController::captureDelaySeconds - 0.001);
        state.ResumeTiming();
        context.virtualClock()->advance(0.001);
        context.mainQueue().runUntilIdle();
        if (!desktop.pasteboard().image()) state.SkipWithError("nothing on the pasteboard");
        state.PauseTiming();
        for (const auto& entry : std::filesystem::directory_iterator(platform::Paths::desktop())) {
            std::filesystem::remove(entry.path());
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CaptureWholeRetinaScreen)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
}  // namespace tallowmere
