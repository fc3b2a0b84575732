#pragma once

#include "platform/desktop/desktop.h"
#include "support/desktop/desktop_driver.h"
#include "support/desktop/keyboard_driver.h"
#include "support/desktop/mouse_driver.h"
#include "support/desktop/trackpad_driver.h"
#include "support/fixture.h"

namespace tallowmere::testing {

// The simulated desktop on its own, without the UI layer: one 1440 × 900
// screen, the program as the only application, and a person's hands.
class SimulatedDesktopTest : public TallowmereTest {
  protected:
    platform::Desktop& desktop = platform::Desktop::shared();
    DesktopDriver setup{desktop};
    MouseDriver mouse{desktop};
    TrackpadDriver trackpad{desktop};
    KeyboardDriver keyboard{desktop};
};

}  // namespace tallowmere::testing
