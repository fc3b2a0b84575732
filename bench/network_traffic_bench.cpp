// One traffic refresh's reads of this machine's kernel tables: the counters of
// every shown interface and the default route. Runs once a second while the
// traffic display is on.
#include <benchmark/benchmark.h>

#include "menubar/network_traffic_sampler.h"
#include "platform/system/network_interface_reader.h"

namespace {

void BM_ReadInterfaceCounters(benchmark::State& state) {
    const tallowmere::platform::NetworkInterfaceReader reader;
    for (auto _ : state) benchmark::DoNotOptimize(reader.counters());
}
BENCHMARK(BM_ReadInterfaceCounters)->Unit(benchmark::kMicrosecond);

void BM_SampleRealCounters(benchmark::State& state) {
    const tallowmere::platform::NetworkInterfaceReader reader;
    tallowmere::NetworkTrafficSampler sampler;
    double seconds = 0;
    for (auto _ : state) {
        seconds += 1;
        sampler.update(tallowmere::platform::Date::fromTimeIntervalSince1970(seconds), reader.counters(),
                       reader.primaryInterface(), true);
    }
}
BENCHMARK(BM_SampleRealCounters)->Unit(benchmark::kMicrosecond);

}  // namespace
