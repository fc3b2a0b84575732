#pragma once

#include <cstdint>
#include <random>

namespace tallowmere {

// The one source of chance for the desk toys: where a buddy appears, where
// it flies, which creature a random summon brings. One per process
// (`shared()`), seeded from the system; tests seed it to replay a run.
class ToyRandom {
public:
    static ToyRandom& shared();

    ToyRandom();
    ToyRandom(const ToyRandom&) = delete;
    ToyRandom& operator=(const ToyRandom&) = delete;

    void seed(std::uint64_t value) { engine_.seed(value); }
    // Uniform in the closed range low...high (low when they are equal).
    double uniform(double low, double high);
    // Uniform in 0..<count; 0 when count is below 1.
    int index(int count);

private:
    std::mt19937_64 engine_;
};

}  // namespace tallowmere
