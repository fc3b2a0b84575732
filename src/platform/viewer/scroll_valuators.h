#pragma once

#include <map>
#include <optional>

namespace tallowmere::platform {

// Turns the absolute values of a device's scroll valuators, as XInput 2
// reports them with every motion, into amounts scrolled since the last
// motion. X counts a scroll "down" or "right" as growing values, in steps
// of the valuator's increment (one wheel notch); the amounts here are in
// points, in the sense of a wheel: +y up (away from the person), +x left.
// Knows nothing of X, so it is tested on its own.
class ScrollValuators {
  public:
    // How far one increment scrolls, as the X server counts a notch.
    static constexpr double pointsPerIncrement = 15;

    enum class Axis { vertical, horizontal };
    struct Amount {
        double x = 0;
        double y = 0;
    };

    // A scroll valuator of the device; a zero increment is taken as one.
    void add(int number, Axis axis, double increment);
    bool isScrollValuator(int number) const { return valuators_.count(number) != 0; }
    // The valuator's value now; the first value after `reset` only sets the
    // baseline (the pointer came back from elsewhere, where scrolling went
    // on without us).
    void update(int number, double value, Amount& amount);
    void reset();

  private:
    struct Valuator {
        Axis axis;
        double increment;
        std::optional<double> last;
    };
    std::map<int, Valuator> valuators_;
};

}  // namespace tallowmere::platform
