#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/desktop/desktop.h"
#include "platform/ui/application.h"
#include "platform/ui/ui_trace.h"
#include "support/desktop/ui_drivers.h"
#include "support/desktop/ui_modal_script.h"
#include "support/fixture.h"

namespace tallowmere::testing {

// The fixture for tests that drive the interface: everything of
// TallowmereTest plus the simulated desktop with one 1440 × 900 screen,
// a person who answers modal questions as scripted (`alerts`, `panels`)
// and clicks in the menu bar and menus (`menuBar`, `menus`), and readers of
// what was shown (`windows`, `uiTrace()`).
class DesktopTest : public TallowmereTest {
private:
    // Made before the drivers, which keep a reference to it.
    std::shared_ptr<ModalScript> script_ = std::make_shared<ModalScript>();
    std::shared_ptr<std::vector<std::string>> trace_ = std::make_shared<std::vector<std::string>>();

protected:
    DesktopTest() {
        platform::Application::shared().setModalResponder(script_);
        platform::UiTrace::shared().onLine = [lines = trace_](const std::string& line) { lines->push_back(line); };
    }

    platform::Desktop& desktop() { return platform::Desktop::shared(); }
    platform::Application& application() { return platform::Application::shared(); }
    // Every line the UI trace recorded, in order.
    const std::vector<std::string>& uiTrace() const { return *trace_; }

    AlertDriver alerts{*script_};
    PanelDriver panels{*script_};
    MenuBarDriver menuBar;
    MenuDriver menus;
    WindowReader windows;
};

}  // namespace tallowmere::testing
