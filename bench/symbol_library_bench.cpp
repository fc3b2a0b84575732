// Reading and grouping the bundled emoji list, as the library does on the
// first opening of its window.
#include <benchmark/benchmark.h>

#include "platform/runtime/app_context.h"
#include "platform/system/bundle.h"
#include "toys/emoji_list.h"

namespace {

using namespace tallowmere;

void BM_ReadAndGroupEmojiList(benchmark::State& state) {
    platform::AppContext context({.deterministic = true});
    const auto text = platform::Bundle::main().resource("EmojiAll", "txt");
    if (!text) {
        state.SkipWithError("the bundle has no EmojiAll.txt");
        return;
    }
    for (auto _ : state) {
        auto grouped = groupSkinTones(parseEmojiList(*text));
        benchmark::DoNotOptimize(grouped);
    }
}
BENCHMARK(BM_ReadAndGroupEmojiList)->Unit(benchmark::kMicrosecond);

}  // namespace
