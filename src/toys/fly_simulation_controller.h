#pragma once

namespace tallowmere {

namespace platform {
class MenuItem;
}

// The desktop buddies that fly about the screen. One per process
// (`shared()`).
//
// For now the menu commands do nothing: the buddies and their flight come
// with the desktop buddies.
class FlySimulationController {
public:
    static FlySimulationController& shared();

    FlySimulationController() = default;
    FlySimulationController(const FlySimulationController&) = delete;
    FlySimulationController& operator=(const FlySimulationController&) = delete;

    // Adds ten buddies of random kinds (never more than 40 in all).
    void summonTenRandomBuddies(platform::MenuItem& sender);
    // Sends every buddy home.
    void sendAllBuddiesHome(platform::MenuItem& sender);
    // Removes every buddy at once.
    void dismissAllBuddiesImmediately(platform::MenuItem& sender);
};

}  // namespace tallowmere
