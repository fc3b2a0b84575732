#pragma once

#include <vector>

#include "platform/desktop/desktop.h"

namespace tallowmere::testing {

enum class SwipeDirection { up, down, left, right, upLeft, upRight, downLeft, downRight };

// How a swipe is made.
struct SwipeOptions {
    // Scroll events while the fingers move (after the began event).
    int steps = 5;
    double stepInterval = 1.0 / 60;
    // How the fingers leave: `ended` lifts them, `cancelled` is the system
    // giving up, `none` leaves the swipe open for the test to continue.
    platform::EventPhase finish = platform::EventPhase::ended;
    // Inertial events after the fingers lift, as a flick makes.
    int momentumSteps = 0;
    // The person's "natural" scrolling setting: deltas follow the content.
    bool naturalScrolling = true;
    // A trackpad reports precise deltas; a mouse wheel does not.
    bool preciseDeltas = true;
};

// A person's two fingers on the trackpad (and the scroll wheel of a
// mouse): scroll events with phases, posted to the desktop at the
// pointer's location. Distances are of the fingers in points; the deltas
// carry the sign the platform gives them under the chosen scrolling
// setting, with `isDirectionInvertedFromDevice` set to match.
class TrackpadDriver {
  public:
    explicit TrackpadDriver(platform::Desktop& desktop) : desktop_(desktop) {}
    TrackpadDriver(const TrackpadDriver&) = delete;
    TrackpadDriver& operator=(const TrackpadDriver&) = delete;

    // A whole swipe: began, changed × steps, then the finish and momentum.
    void swipe(SwipeDirection direction, double distance, SwipeOptions options = {});
    // The fingers moved by (dx, dy) points (x right, y up) in one event.
    void scroll(double dx, double dy, platform::EventPhase phase,
                platform::EventPhase momentumPhase = platform::EventPhase::none,
                SwipeOptions options = {});
    // A notch of a mouse wheel: no phases, coarse deltas in lines.
    void wheel(double lines);

  private:
    platform::Desktop& desktop_;
};

}  // namespace tallowmere::testing
