#pragma once

namespace tallowmere {

// The disco lamp's spin, one tick at a time: while switched on the speed
// closes a fraction of its gap to the top speed on each tick, while off it
// coasts down the same way and stops once it is slow enough.
struct DiscoLampMotion {
    static constexpr double maximumVelocity = 2.8;  // radians a second
    // A tick never counts more than this, so the ball does not jump after
    // a pause (the window dragged, the program busy).
    static constexpr double longestStep = 0.08;
    static constexpr double spinUpRate = 2.7;
    static constexpr double coastRate = 2.2;
    static constexpr double restBelow = 0.025;

    double rotation = 0;         // radians, accumulated without bound
    double angularVelocity = 0;  // radians a second
    bool isSpinning = false;     // the person's choice

    // Advances by `dt` seconds (clamped to 0...longestStep). False once the
    // ball has come to rest: the tick that reports it is the last one.
    bool advance(double dt);
    // 0 at rest, 1 at top speed.
    double normalizedSpeed() const { return angularVelocity / maximumVelocity; }
};

}  // namespace tallowmere
