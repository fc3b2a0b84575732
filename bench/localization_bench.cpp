// The UI string lookup runs for every label and menu item, also each time a
// menu is rebuilt; the catalogue is parsed once, at the first lookup that
// reaches it, while the interface is being built.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

#include "localization/complete_localization.h"
#include "localization/interface_language.h"
#include "platform/runtime/app_context.h"

namespace tallowmere {
namespace resources {
extern const std::string_view catalogJSON;
}

namespace {

void lookUp(benchmark::State& state, std::string_view key, InterfaceLanguage language) {
    InterfaceLanguage::text(key, language);  // builds the tables the lookup reaches
    for (auto _ : state) benchmark::DoNotOptimize(InterfaceLanguage::text(key, language));
}

// One hit in each layer of the lookup, and a key nobody knows.
BENCHMARK_CAPTURE(lookUp, sourceLanguage, "窗口手势控制", InterfaceLanguage::simplifiedChinese);
BENCHMARK_CAPTURE(lookUp, builtInTable, "窗口手势控制", InterfaceLanguage::japanese);
BENCHMARK_CAPTURE(lookUp, fallbackTable, "窗口手势控制", InterfaceLanguage::ukrainian);
BENCHMARK_CAPTURE(lookUp, catalogue, "窗口手势控制", InterfaceLanguage::turkish);
BENCHMARK_CAPTURE(lookUp, unknownKey, "没有人认识的键", InterfaceLanguage::french);

// `L` as call sites use it: the current language read from the preferences, then the lookup.
void lookUpInCurrentLanguage(benchmark::State& state) {
    // A private HOME, since choosing the language writes the preferences domain.
    std::string home = (std::filesystem::temp_directory_path() / "localization-bench-XXXXXX").string();
    if (!mkdtemp(home.data())) {
        state.SkipWithError("no temporary HOME");
        return;
    }
    setenv("HOME", home.c_str(), 1);
    {
        platform::AppContext context({.deterministic = true});
        InterfaceLanguage::setCurrent(InterfaceLanguage::japanese);
        for (auto _ : state) benchmark::DoNotOptimize(L("窗口手势控制"));
    }
    std::filesystem::remove_all(home);
}
BENCHMARK(lookUpInCurrentLanguage);

void catalogueParse(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(CompleteLocalization::Catalog::parse(resources::catalogJSON));
}
BENCHMARK(catalogueParse)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tallowmere
