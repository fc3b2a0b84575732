#include "support/desktop/trackpad_driver.h"

#include <algorithm>
#include <cmath>

#include "support/desktop/desktop_driver.h"

namespace tallowmere::testing {

using platform::Event;
using platform::EventPhase;

namespace {
// Unit finger movement of a direction, x right and y up.
std::pair<double, double> unit(SwipeDirection direction) {
    const double d = 1 / std::sqrt(2.0);
    switch (direction) {
        case SwipeDirection::up:
            return {0, 1};
        case SwipeDirection::down:
            return {0, -1};
        case SwipeDirection::left:
            return {-1, 0};
        case SwipeDirection::right:
            return {1, 0};
        case SwipeDirection::upLeft:
            return {-d, d};
        case SwipeDirection::upRight:
            return {d, d};
        case SwipeDirection::downLeft:
            return {-d, -d};
        case SwipeDirection::downRight:
            return {d, -d};
    }
    return {0, 0};
}
}  // namespace

void TrackpadDriver::scroll(double dx, double dy, EventPhase phase, EventPhase momentumPhase,
                            SwipeOptions options) {
    // With natural scrolling the content follows the fingers: fingers up
    // give a negative vertical delta, fingers right a positive horizontal
    // one. The classic setting turns both around.
    const double sign = options.naturalScrolling ? 1 : -1;
    Event event = Event::scroll(desktop_.input().mouseLocation(), dx * sign, -dy * sign, phase,
                                momentumPhase, options.preciseDeltas, options.naturalScrolling);
    desktop_.post(event);
}

void TrackpadDriver::swipe(SwipeDirection direction, double distance, SwipeOptions options) {
    const auto [ux, uy] = unit(direction);
    const int steps = std::max(options.steps, 1);
    const double stepX = ux * distance / steps, stepY = uy * distance / steps;
    scroll(0, 0, EventPhase::began, EventPhase::none, options);
    for (int i = 0; i < steps; ++i) {
        letTimePass(options.stepInterval);
        scroll(stepX, stepY, EventPhase::changed, EventPhase::none, options);
    }
    if (options.finish == EventPhase::none) return;
    letTimePass(options.stepInterval);
    scroll(0, 0, options.finish, EventPhase::none, options);
    if (options.momentumSteps <= 0 || options.finish != EventPhase::ended) return;
    for (int i = 0; i < options.momentumSteps; ++i) {
        letTimePass(options.stepInterval);
        const double fade = 1.0 / (i + 2);
        const EventPhase momentum = i == 0 ? EventPhase::began : EventPhase::changed;
        scroll(stepX * fade, stepY * fade, EventPhase::none, momentum, options);
    }
    letTimePass(options.stepInterval);
    scroll(0, 0, EventPhase::none, EventPhase::ended, options);
}

void TrackpadDriver::wheel(double lines) {
    Event event = Event::scroll(desktop_.input().mouseLocation(), 0, lines, EventPhase::none,
                                EventPhase::none,
                                /*precise=*/false, /*inverted=*/false);
    desktop_.post(event);
}

}  // namespace tallowmere::testing
