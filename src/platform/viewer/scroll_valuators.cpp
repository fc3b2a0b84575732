#include "platform/viewer/scroll_valuators.h"

#include <cmath>

namespace tallowmere::platform {

void ScrollValuators::add(int number, Axis axis, double increment) {
    if (!std::isfinite(increment) || increment == 0) increment = 1;
    valuators_[number] = {axis, std::abs(increment), std::nullopt};
}

void ScrollValuators::update(int number, double value, Amount& amount) {
    auto found = valuators_.find(number);
    if (found == valuators_.end() || !std::isfinite(value)) return;
    auto& valuator = found->second;
    const auto last = valuator.last;
    valuator.last = value;
    if (!last) return;
    // Growing values scroll down or right: the wheel's -y and -x.
    const double points = -(value - *last) / valuator.increment * pointsPerIncrement;
    if (valuator.axis == Axis::vertical) {
        amount.y += points;
    } else {
        amount.x += points;
    }
}

void ScrollValuators::reset() {
    for (auto& [number, valuator] : valuators_) valuator.last.reset();
}

}  // namespace tallowmere::platform
