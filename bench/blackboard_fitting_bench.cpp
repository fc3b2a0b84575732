// Fitting a long sign on a large screen: each step down in size measures
// the whole wrapped text with pango, so the shrinking must stay quick.
// Target: under 20 ms for 500 characters from 200 pt on 5120 × 2880.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/base/text.h"
#include "platform/gfx/pango_text_measurer.h"
#include "platform/runtime/app_context.h"
#include "screen/blackboard_sign_fitting.h"

namespace {

using namespace tallowmere;

void BM_FitFiveHundredCharactersOnA5KScreen(benchmark::State& state) {
    platform::AppContext context({.deterministic = true});
    platform::PangoTextMeasurer measurer;
    std::string text;
    const std::string phrase = "会议进行中，请稍候片刻再来。";  // 14 characters
    while (platform::Text::graphemeCount(text) < 500) text += phrase;
    double fitted = 0;
    for (auto _ : state) {
        fitted = fittedBlackboardFontSize(text, "PingFang SC", 200, {5020, 2780}, measurer);
        benchmark::DoNotOptimize(fitted);
    }
    state.counters["fittedSize"] = fitted;
}
BENCHMARK(BM_FitFiveHundredCharactersOnA5KScreen)->Unit(benchmark::kMillisecond);

}  // namespace
