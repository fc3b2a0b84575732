#pragma once

namespace tallowmere {

namespace platform {
class MenuItem;
}

// The disco light show. One per process (`shared()`).
//
// For now the launcher does not open: the show comes with the desk toys.
class DiscoLightShowController {
public:
    static DiscoLightShowController& shared();

    DiscoLightShowController() = default;
    DiscoLightShowController(const DiscoLightShowController&) = delete;
    DiscoLightShowController& operator=(const DiscoLightShowController&) = delete;

    // Shows the disco-ball launcher.
    void presentLauncherFromMenu(platform::MenuItem& sender);
};

}  // namespace tallowmere
