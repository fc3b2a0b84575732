// Validation runs on the whole editor text before every save and apply, and
// blocklists of a hundred thousand lines are common; it must stay well
// under a frame's worth of time even then.
#include <benchmark/benchmark.h>

#include <string>

#include "hosts/hosts_text_validator.h"

namespace tallowmere {
namespace {

// About 3 MB: a header of comments, then 100,000 blocked names.
std::string blocklist() {
    std::string text = "# Blocklist\n# generated\n\n127.0.0.1 localhost\n::1 localhost\n";
    for (int i = 0; i < 100'000; ++i) {
        text += "0.0.0.0 ads-" + std::to_string(i) + ".tracker.example\n";
    }
    return text;
}

void validateBlocklist(benchmark::State& state) {
    const std::string text = blocklist();
    for (auto _ : state) benchmark::DoNotOptimize(validateHostsText(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
    state.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(validateBlocklist)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tallowmere
