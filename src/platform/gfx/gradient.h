#pragma once

#include <vector>

#include "platform/gfx/color.h"

namespace tallowmere::platform {

// Colours at locations 0...1 along a gradient, sorted by location.
class Gradient {
public:
    struct Stop {
        double location = 0;
        Color color;
        bool operator==(const Stop&) const = default;
    };

    Gradient(const Color& start, const Color& end) : stops_{{0, start}, {1, end}} {}
    // Stops are sorted; locations are clamped to 0...1.
    explicit Gradient(std::vector<Stop> stops);

    const std::vector<Stop>& stops() const { return stops_; }
    // The colour at `location` (clamped), interpolated in sRGB.
    Color colorAt(double location) const;

    bool operator==(const Gradient&) const = default;

private:
    std::vector<Stop> stops_;
};

}  // namespace tallowmere::platform
