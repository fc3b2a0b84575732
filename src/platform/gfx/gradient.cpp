#include "platform/gfx/gradient.h"

#include <algorithm>
#include <cmath>

namespace tallowmere::platform {

Gradient::Gradient(std::vector<Stop> stops) : stops_(std::move(stops)) {
    for (auto& stop : stops_)
        stop.location = std::isnan(stop.location) ? 0 : std::clamp(stop.location, 0.0, 1.0);
    std::stable_sort(stops_.begin(), stops_.end(),
                     [](const Stop& a, const Stop& b) { return a.location < b.location; });
    if (stops_.empty()) stops_ = {{0, Color::clear()}, {1, Color::clear()}};
}

Color Gradient::colorAt(double location) const {
    const double at = std::isnan(location) ? 0 : std::clamp(location, 0.0, 1.0);
    if (at <= stops_.front().location) return stops_.front().color.resolved();
    for (std::size_t i = 1; i < stops_.size(); ++i) {
        const Stop& a = stops_[i - 1];
        const Stop& b = stops_[i];
        if (at <= b.location) {
            const double span = b.location - a.location;
            return a.color.blended(span > 0 ? (at - a.location) / span : 1, b.color);
        }
    }
    return stops_.back().color.resolved();
}

}  // namespace tallowmere::platform
