#include "toys/toy_random.h"

#include <cmath>

#include "platform/runtime/app_context.h"

namespace tallowmere {

ToyRandom& ToyRandom::shared() { return platform::AppContext::current().shared<ToyRandom>(); }

ToyRandom::ToyRandom() : engine_(std::random_device{}()) {}

double ToyRandom::uniform(double low, double high) {
    if (!(high > low)) return low;
    // nextafter makes the upper end reachable, as a closed range promises.
    std::uniform_real_distribution<double> distribution(low, std::nextafter(high, INFINITY));
    return std::min(distribution(engine_), high);
}

int ToyRandom::index(int count) {
    if (count < 1) return 0;
    return std::uniform_int_distribution<int>(0, count - 1)(engine_);
}

}  // namespace tallowmere
