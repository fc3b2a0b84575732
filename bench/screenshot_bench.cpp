// A whole 2880 × 1800 screen captured as the screenshot tool does it: the
// capture tool takes the area, encodes it and writes it to the Desktop; the
// file is read back and put on the pasteboard.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "platform/desktop/desktop.h"
#include "platform/gfx/image.h"
#include "platform/runtime/app_context.h"
#include "platform/system/files.h"
#include "platform/system/paths.h"
#include "platform/system/process_runner.h"
#include "program_in_temporary_home.h"
#include "screen/screenshot_controller.h"

namespace tallowmere {
namespace {

void BM_CaptureWholeRetinaScreen(benchmark::State& state) {
    bench::ProgramInTemporaryHome program({.deterministic = true});
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
    const auto file = platform::Paths::desktop() / "tallowmeru_20260101000000.png";
    for (auto _ : state) {
        auto ran = platform::ProcessRunner::run(
            {.executable = ScreenshotController::captureTool, .arguments = {"-i", "-x", file.string()}});
        auto bytes = platform::Files::read(file);
        auto image = bytes.ok() ? platform::Image::fromPngDataOnDemand(std::move(*bytes)) : std::nullopt;
        desktop.pasteboard().clearContents();
        if (!ran.ok() || !ran->succeeded() || !image || !desktop.pasteboard().writeImage(*image)) {
            state.SkipWithError("the capture did not reach the pasteboard");
            break;
        }
        state.PauseTiming();
        std::filesystem::remove(file);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CaptureWholeRetinaScreen)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
}  // namespace tallowmere
