// Rebuilding the status menu, as every opening does, with twenty saved
// layouts in the restore submenu. The target is under 1 ms, so the menu
// opens without a visible pause.
#include <benchmark/benchmark.h>

#include <string>

#include "app/app_delegate.h"
#include "app/menu_item_styling.h"
#include "platform/base/uuid.h"
#include "platform/desktop/desktop.h"
#include "platform/ui/application.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/menu.h"
#include "program_in_temporary_home.h"
#include "windows/layout_store.h"

namespace tallowmere {
namespace {

class LaunchedProgram {
public:
    LaunchedProgram() {
        platform::Application::shared().setArguments({"--finder-action"});
        delegate_ = AppDelegate::make();
        platform::Application::shared().setDelegate(delegate_);
        platform::Application::shared().finishLaunching();
        platform::DesktopLink::desktop().accessibility().setTrusted(true);
        for (int index = 0; index < 20; ++index) {
            delegate_->layoutStore()->layouts.push_back(
                {platform::Uuid::random(), "布局 " + std::to_string(index + 1), platform::Date()});
        }
    }
    AppDelegate& delegate() { return *delegate_; }

private:
    std::shared_ptr<AppDelegate> delegate_;
};

void BM_RebuildStatusMenuWithTwentyLayouts(benchmark::State& state) {
    bench::ProgramInTemporaryHome home;
    LaunchedProgram program;
    for (auto _ : state) {
        program.delegate().rebuildStatusMenu();
        benchmark::DoNotOptimize(program.delegate().mainStatusMenu()->numberOfItems());
    }
}
BENCHMARK(BM_RebuildStatusMenuWithTwentyLayouts)->Unit(benchmark::kMicrosecond);

// What a click does: the rebuild and the icon pass before the menu shows.
void BM_RebuildAndNormalizeIcons(benchmark::State& state) {
    bench::ProgramInTemporaryHome home;
    LaunchedProgram program;
    for (auto _ : state) {
        program.delegate().rebuildStatusMenu();
        normalizeMenuIcons(*program.delegate().mainStatusMenu());
    }
}
BENCHMARK(BM_RebuildAndNormalizeIcons)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tallowmere
