// Quick launch works on the main thread: every edit rewrites the list and
// the configuration mirror, a tile that makes a Word document builds the
// package on the spot, and each start decodes the stored list.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "app/persistent_configuration.h"
#include "quicklaunch/new_file_document_data.h"
#include "quicklaunch/quick_launch_entry.h"
#include "quicklaunch/quick_launch_panel.h"
#include "quicklaunch/quick_launch_store.h"
#include "program_in_temporary_home.h"

namespace {

using namespace tallowmere;
using bench::ProgramInTemporaryHome;

// A long list: 60 tiles of every kind.
std::vector<QuickLaunchEntry> manyEntries() {
    std::vector<QuickLaunchEntry> entries;
    for (int index = 0; index < 60; ++index) {
        const auto kind = allQuickLaunchKinds[static_cast<std::size_t>(index) % allQuickLaunchKinds.size()];
        entries.push_back({platform::Uuid::random(), kind, "磁贴 " + std::to_string(index),
                           "https://example.com/path/" + std::to_string(index), std::nullopt, "globe", "🙂"});
    }
    return entries;
}

void BM_WordBlankPackage(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(NewFileDocumentData::contents("docx"));
}
BENCHMARK(BM_WordBlankPackage);

void BM_DecodeSixtyEntries(benchmark::State& state) {
    const std::string json = *QuickLaunchEntryCoding::encode(manyEntries());
    for (auto _ : state) benchmark::DoNotOptimize(QuickLaunchEntryCoding::decode(json));
}
BENCHMARK(BM_DecodeSixtyEntries);

// One rename: the file written atomically, then the mirror's file.
void BM_RenameWithSixtyEntries(benchmark::State& state) {
    ProgramInTemporaryHome program;
    PersistentConfiguration::shared().activate();
    QuickLaunchStore store;
    while (store.entries().size() < 60) (void)store.addInformation("snippet", "", std::nullopt);
    const platform::Uuid id = store.entries().front().id;
    int round = 0;
    for (auto _ : state) benchmark::DoNotOptimize(store.rename(id, "Name " + std::to_string(++round)));
}
BENCHMARK(BM_RenameWithSixtyEntries)->Unit(benchmark::kMillisecond);

// Opening the panel builds every tile afresh: icons fetched from the
// workspace and cropped, no cache. 30 entries of every kind.
void BM_OpenPanelWithThirtyEntries(benchmark::State& state) {
    ProgramInTemporaryHome program;
    PersistentConfiguration::shared().activate();
    std::vector<QuickLaunchEntry> entries;
    const char* targets[] = {"/Applications/Safari.app", "https://example.com/", "snippet", "/Users/me/notes.txt", ""};
    for (int index = 0; index < 30; ++index) {
        const auto kind = allQuickLaunchKinds[static_cast<std::size_t>(index) % allQuickLaunchKinds.size()];
        entries.push_back({platform::Uuid::random(), kind, "磁贴 " + std::to_string(index),
                           targets[static_cast<std::size_t>(index) % 5], std::nullopt, "chrome", std::nullopt});
    }
    const std::string json = *QuickLaunchEntryCoding::encode(entries);
    PersistentConfiguration::shared().setQuickLaunchData(platform::Data(json.begin(), json.end()));
    QuickLaunchPanel panel(std::make_shared<QuickLaunchStore>());
    for (auto _ : state) benchmark::DoNotOptimize(panel.show({700, 500}, nullptr, QuickLaunchPanel::Trigger::menuBarDoubleClick));
}
BENCHMARK(BM_OpenPanelWithThirtyEntries)->Unit(benchmark::kMillisecond);

}  // namespace
