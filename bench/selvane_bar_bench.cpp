// The selection bar is laid out on the main thread as the mouse is released,
// with every item's title measured by the real text engine: target under
// 1 ms for a show with every action and tool.
#include <benchmark/benchmark.h>

#include "front_editor_window.h"
#include "program_in_temporary_home.h"
#include "platform/desktop/desktop.h"
#include "platform/system/user_defaults.h"
#include "selection/selvane_action_panel.h"
#include "selection/selvane_preferences.h"

namespace tallowmere {
namespace {

void BM_ShowBarWithEveryItem(benchmark::State& state) {
    bench::ProgramInTemporaryHome context;  // the real text measurer
    if (!bench::frontEditorWindow()) {
        state.SkipWithError("no application");
        return;
    }
    platform::PropertyValue::Array tools{platform::PropertyValue("colorPicker"), platform::PropertyValue("screenRuler"),
                                         platform::PropertyValue("fontInfo")};
    platform::UserDefaults::standard().set(SelvanePreferences::enabledToolsKey, platform::PropertyValue(tools));
    auto bar = SelvaneActionPanel::make();
    const auto screen = platform::Desktop::shared().screens().screens().front();
    Accessibility::TextStyle style{"Helvetica", {"13 pt", "16 pt"}, {"正常（400）"}, {{"#112233", platform::Color::sRGB(0.1, 0.2, 0.3)}}};
    for (auto _ : state) {
        bar->show("Selected words with https://example.com", {700, 400}, screen, false, style, std::nullopt);
    }
    bar->hide();
}
BENCHMARK(BM_ShowBarWithEveryItem)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tallowmere
