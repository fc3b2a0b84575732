// The UI string lookup runs for every label and menu item, also each time a
// menu is rebuilt; the catalogue is parsed once, at the first lookup that
// reaches it, while the interface is being built.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unordered_map>

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

// `L` as call sites use it: the current language, then the lookup. Each
// case has the anchor below to be read against, in the same run.
void lookUpInCurrentLanguage(benchmark::State& state, InterfaceLanguage language) {
    // A private HOME, since choosing the language writes the preferences domain.
    std::string home = (std::filesystem::temp_directory_path() / "localization-bench-XXXXXX").string();
    if (!mkdtemp(home.data())) {
        state.SkipWithError("no temporary HOME");
        return;
    }
    setenv("HOME", home.c_str(), 1);
    {
        platform::AppContext context({.deterministic = true});
        InterfaceLanguage::setCurrent(language);
        for (auto _ : state) benchmark::DoNotOptimize(L("窗口手势控制"));
    }
    std::filesystem::remove_all(home);
}
BENCHMARK_CAPTURE(lookUpInCurrentLanguage, builtInTable, InterfaceLanguage::japanese);
BENCHMARK_CAPTURE(lookUpInCurrentLanguage, sourceLanguage, InterfaceLanguage::simplifiedChinese);

// The anchor: a bare hash lookup of the same key in a map of the catalogue's size.
void bareMapFind(benchmark::State& state) {
    std::unordered_map<std::string, std::string> texts;
    for (const std::string& key : CompleteLocalization::catalog().keys()) texts.emplace(key, key + " (translated)");
    const std::string key = "窗口手势控制";
    for (auto _ : state) benchmark::DoNotOptimize(texts.find(key));
}
BENCHMARK(bareMapFind);

void catalogueParse(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(CompleteLocalization::Catalog::parse(resources::catalogJSON));
}
BENCHMARK(catalogueParse)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tallowmere
