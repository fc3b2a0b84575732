// Media control polls four times a second while its buttons are shown: the
// audio processes that produce sound, the frontmost and running
// applications, and the now-playing service's answers. Target on a
// development machine: one poll, answers included, under 100 µs with 40
// running applications and 10 audio processes.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "menubar/media_control_controller.h"
#include "platform/desktop/desktop.h"
#include "platform/runtime/app_context.h"
#include "platform/runtime/clock.h"
#include "program_in_temporary_home.h"

namespace tallowmere {
namespace {

void BM_OneMediaPoll(benchmark::State& state) {
    bench::ProgramInTemporaryHome program({.deterministic = true});
    auto& context = platform::AppContext::current();
    auto& desktop = platform::Desktop::shared();
    // 40 applications, the first 10 of which opened audio; one player
    // among them plays, as a person listening while working would have it.
    std::shared_ptr<platform::SimulatedApplication> player;
    for (int i = 0; i < 40; ++i) {
        const bool isPlayer = i == 7;
        platform::ApplicationSpec spec{
            .bundleIdentifier = isPlayer ? std::string("com.netease.163music") : "com.example.app" + std::to_string(i),
            .name = isPlayer ? std::string("网易云音乐") : "App " + std::to_string(i)};
        auto app = desktop.addApplication(spec);
        if (!app.ok()) {
            state.SkipWithError("an application could not be added");
            return;
        }
        if (i < 10) {
            const auto object = desktop.audio().addProcess((*app)->processIdentifier());
            desktop.audio().setRunningOutput(object, isPlayer || i % 3 == 0);
        }
        if (isPlayer) player = *app;
    }
    desktop.nowPlaying().setNowPlayingApplication(player->processIdentifier());
    desktop.nowPlaying().setPlaying(true);
    auto& controller = MediaControlController::shared();
    controller.setMonitoringEnabled(true);
    auto* clock = context.virtualClock();
    for (auto _ : state) clock->advance(MediaControlController::pollInterval);
    if (!controller.hasCurrentPlayer()) state.SkipWithError("the player was not found");
    controller.setMonitoringEnabled(false);
}
BENCHMARK(BM_OneMediaPoll)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tallowmere
