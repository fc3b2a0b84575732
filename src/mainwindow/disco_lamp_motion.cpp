#include "mainwindow/disco_lamp_motion.h"

#include <algorithm>
#include <cmath>

namespace tallowmere {

bool DiscoLampMotion::advance(double dt) {
    dt = std::isfinite(dt) ? std::clamp(dt, 0.0, longestStep) : 0.0;
    const double rate = dt * (isSpinning ? spinUpRate : coastRate);
    const double target = isSpinning ? maximumVelocity : 0;
    angularVelocity += (target - angularVelocity) * std::min(rate, 1.0);
    bool keepsMoving = true;
    if (!isSpinning && angularVelocity < restBelow) {
        angularVelocity = 0;
        keepsMoving = false;
    }
    rotation += dt * angularVelocity;
    return keepsMoving;
}

}  // namespace tallowmere
