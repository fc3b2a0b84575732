// The configuration mirror rewrites its whole file, flushed to disk, on the
// main thread after every change of the preferences domain: the time of one
// write is what a switch in the settings window costs. The domain's own file
// is written on its own queue; the main thread should not wait for it.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/persistent_configuration.h"
#include "platform/runtime/app_context.h"
#include "platform/system/user_defaults.h"
#include "program_in_temporary_home.h"

namespace {

using tallowmere::PersistentConfiguration;
using tallowmere::bench::ProgramInTemporaryHome;
using tallowmere::platform::Data;
using tallowmere::platform::PropertyValue;
using tallowmere::platform::UserDefaults;

// 50 keys of the kinds the program keeps, and a 2 KiB quick-launch blob.
void fillTypicalDomain() {
    auto& defaults = UserDefaults::standard();
    for (int index = 0; index < 50; ++index) {
        const std::string key = "preferenceKey" + std::to_string(index);
        switch (index % 5) {
            case 0: defaults.set(key, index % 2 == 0); break;
            case 1: defaults.set(key, index * 37); break;
            case 2: defaults.set(key, "塔洛梅 setting " + std::to_string(index)); break;
            case 3: defaults.set(key, PropertyValue::Array{"https://example.com/a", "https://example.com/b"}); break;
            default: defaults.set(key, PropertyValue::Dictionary{{"x", 10.5}, {"y", 20.0}, {"enabled", true}}); break;
        }
    }
    PersistentConfiguration::shared().setQuickLaunchData(Data(2048, 0x5A));
}

void BM_ConfigurationMirrorPersistNow(benchmark::State& state) {
    ProgramInTemporaryHome program;
    auto& mirror = PersistentConfiguration::shared();
    mirror.activate();
    fillTypicalDomain();
    for (auto _ : state) mirror.persistNow();
}
BENCHMARK(BM_ConfigurationMirrorPersistNow)->Unit(benchmark::kMicrosecond);

// A switch flipped in the settings window, as the main thread sees it: the
// mirror is rewritten before the call returns, the domain's file after it.
// Read against the mirror's own write above.
void BM_PreferenceChangeWithMirror(benchmark::State& state) {
    ProgramInTemporaryHome program;
    PersistentConfiguration::shared().activate();
    fillTypicalDomain();
    auto& defaults = UserDefaults::standard();
    bool on = false;
    for (auto _ : state) defaults.set("networkTrafficEnabled", on = !on);
}
BENCHMARK(BM_PreferenceChangeWithMirror)->Unit(benchmark::kMicrosecond);

// From a change until the domain's file holds it, flushed to disk.
void BM_PreferenceChangeUntilDomainFileIsDurable(benchmark::State& state) {
    ProgramInTemporaryHome program;
    PersistentConfiguration::shared().activate();
    fillTypicalDomain();
    auto& defaults = UserDefaults::standard();
    bool on = false;
    for (auto _ : state) {
        defaults.set("networkTrafficEnabled", on = !on);
        if (!defaults.synchronize()) state.SkipWithError("the domain could not be written");
    }
}
BENCHMARK(BM_PreferenceChangeUntilDomainFileIsDurable)->Unit(benchmark::kMicrosecond);

}  // namespace
