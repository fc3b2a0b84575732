// Writing the preferences mirror: every change of the domain rewrites the
// whole file on the main thread, so one XML write of a typical domain must
// stay far below a frame.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/base/property_list.h"

namespace {

using tallowmere::platform::Date;
namespace PropertyList = tallowmere::platform::PropertyList;
using tallowmere::platform::PropertyValue;

// 50 keys of the kinds a preferences domain holds: switches, counters,
// reals, names, a few lists and dictionaries, one date and one blob.
PropertyValue fiftyKeyDomain() {
    PropertyValue::Dictionary domain;
    for (int index = 0; index < 50; ++index) {
        const std::string key = "preferenceKey" + std::to_string(index);
        switch (index % 7) {
        case 0: domain[key] = index % 2 == 0; break;
        case 1: domain[key] = index * 37; break;
        case 2: domain[key] = index * 0.125; break;
        case 3: domain[key] = "塔洛梅 setting " + std::to_string(index); break;
        case 4: domain[key] = PropertyValue::Array{"https://example.com/a", "https://example.com/b", 3}; break;
        case 5: domain[key] = PropertyValue::Dictionary{{"x", 10.5}, {"y", 20.0}, {"enabled", true}}; break;
        default: domain[key] = Date::fromTimeIntervalSince1970(1796891400); break;
        }
    }
    domain["quickLaunchData"] = tallowmere::platform::Data(2048, 0x5A);
    return domain;
}

void BM_PlistWriteXmlFiftyKeyDomain(benchmark::State& state) {
    const PropertyValue domain = fiftyKeyDomain();
    for (auto _ : state) {
        auto bytes = PropertyList::write(domain);
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_PlistWriteXmlFiftyKeyDomain);

}  // namespace
