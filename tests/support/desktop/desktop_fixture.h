#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/application.h"
#include "platform/ui/ui_trace.h"
#include "support/desktop/simulated_desktop_test.h"
#include "support/desktop/ui_drivers.h"
#include "support/desktop/ui_modal_script.h"

namespace tallowmere::testing {

// The fixture for tests that drive the interface: SimulatedDesktopTest's
// desktop (one 1440 × 900 screen) and person at the Mac (`setup`, `mouse`,
// `trackpad`, `keyboard`), with the program's UI layer on it and a person who
// also
//  - clicks in the menu bar and menus (`menuBar`, `menus`),
//  - answers alerts, panels and the colour sampler as scripted (`alerts`,
//    `panels`; unscripted questions take their cancel choice),
//  - picks colours in the shared colour panel (`colorPanel`),
// and readers of what was shown (`windows`, `alerts.shown()`,
// `menus.opened()`, `uiTrace()`).
class DesktopTest : public SimulatedDesktopTest {
  private:
    // Made before the drivers, which keep references to them.
    std::shared_ptr<ModalScript> script_ = std::make_shared<ModalScript>();
    std::shared_ptr<std::vector<std::string>> trace_ = std::make_shared<std::vector<std::string>>();

  protected:
    DesktopTest() {
        application.setModalResponder(script_);
        platform::UiTrace::shared().onLine = [lines = trace_](const std::string& line) { lines->push_back(line); };
    }

    // Every line the UI trace recorded, in order.
    const std::vector<std::string>& uiTrace() const { return *trace_; }

    platform::Application& application = platform::Application::shared();
    AlertDriver alerts{*script_};
    PanelDriver panels{*script_};
    MenuBarDriver menuBar;
    MenuDriver menus;
    ColorPanelDriver colorPanel;
    WindowReader windows;
};

}  // namespace tallowmere::testing
