#pragma once

#include <memory>
#include <ostream>

#include "platform/desktop/desktop.h"

namespace tallowmere::platform {
// Readable values in test failure messages.
void PrintTo(AXError error, std::ostream* out);
void PrintTo(const AXElement& element, std::ostream* out);
void PrintTo(const SimulatedWindow& window, std::ostream* out);
}  // namespace tallowmere::platform

namespace tallowmere::testing {

// Lets virtual time pass between the events of a gesture, running what
// falls due, as the real seconds between a person's movements would. Does
// nothing in a context without a virtual clock.
void letTimePass(double seconds);

// Sets the simulated Mac up the way a test needs it: screens, installed
// and running applications with their windows, permissions. Failures of
// the set-up are test failures (reported with the reason) and give null.
class DesktopDriver {
  public:
    explicit DesktopDriver(platform::Desktop& desktop) : desktop_(desktop) {}
    DesktopDriver(const DesktopDriver&) = delete;
    DesktopDriver& operator=(const DesktopDriver&) = delete;

    std::shared_ptr<platform::Screen> addScreen(platform::ScreenSpec spec);
    std::shared_ptr<platform::Screen> primaryScreen() const {
        return desktop_.screens().primaryScreen();
    }
    // Installs (and, unless `spec.running` is off, starts) an application.
    std::shared_ptr<platform::SimulatedApplication> addApplication(platform::ApplicationSpec spec);
    // An application started and brought to the front with one window.
    std::shared_ptr<platform::SimulatedWindow> addFrontWindow(platform::ApplicationSpec app,
                                                              platform::WindowSpec window);
    // The person allows Accessibility and screen recording in System Settings.
    void grantAccessibility(bool granted = true) { desktop_.accessibility().setTrusted(granted); }
    void grantScreenCapture(bool granted = true) {
        desktop_.windowServer().setScreenCaptureAllowed(granted);
    }

  private:
    platform::Desktop& desktop_;
};

}  // namespace tallowmere::testing
