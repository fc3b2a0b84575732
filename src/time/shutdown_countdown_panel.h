#pragma once

namespace tallowmere {

// The last-chance panel before a scheduled shutdown. The application
// delegate makes one at its construction and keeps it.
//
// The panel itself comes with the scheduled shutdown.
class ShutdownCountdownPanel {
public:
    ShutdownCountdownPanel() = default;
    ShutdownCountdownPanel(const ShutdownCountdownPanel&) = delete;
    ShutdownCountdownPanel& operator=(const ShutdownCountdownPanel&) = delete;
};

}  // namespace tallowmere
