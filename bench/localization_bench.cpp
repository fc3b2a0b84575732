// The UI string lookup runs for every label and menu item, also each time a
// menu is rebuilt; the catalogue is parsed once, at the first lookup that
// reaches it, while the interface is being built.
#include <benchmark/benchmark.h>

#include "localization/complete_localization.h"
#include "localization/interface_language.h"

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

void catalogueParse(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(CompleteLocalization::Catalog::parse(resources::catalogJSON));
}
BENCHMARK(catalogueParse)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tallowmere
