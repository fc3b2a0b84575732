#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <sys/types.h>

#include "platform/ui/window_controller.h"

namespace tallowmere {

namespace platform {
class Button;
class Label;
class View;
class Window;
}  // namespace platform

class InputController;
class LayoutStore;
class QuickLaunchStore;
class SnapEngine;

// The settings hub. The application delegate makes it on first need with
// the shared stores and controllers and the window it lives in, and keeps
// it for the rest of the run.
//
// For now its window holds only the status line that the input controller
// reports to; the header, cards, switches and pages come with the main
// window, and with them the layout root that sizes the window.
class MainWindowController : public platform::WindowController {
public:
    // The application the person was working in before, if any.
    using PreferredPID = std::function<std::optional<pid_t>()>;

    // Builds the interface in `window` and makes the controller the input
    // controller's status line.
    static std::shared_ptr<MainWindowController> make(std::shared_ptr<SnapEngine> snapEngine,
                                                      std::shared_ptr<LayoutStore> layoutStore,
                                                      std::shared_ptr<QuickLaunchStore> quickLaunchStore,
                                                      std::shared_ptr<InputController> inputController,
                                                      PreferredPID preferredPID, std::shared_ptr<platform::Window> window);

    MainWindowController(std::shared_ptr<SnapEngine> snapEngine, std::shared_ptr<LayoutStore> layoutStore,
                         std::shared_ptr<QuickLaunchStore> quickLaunchStore,
                         std::shared_ptr<InputController> inputController, PreferredPID preferredPID,
                         std::shared_ptr<platform::Window> window);

    // The root of the laid-out content, whose fitting height sizes a new
    // window; none while the window has no laid-out content.
    std::shared_ptr<platform::View> mainLayoutRoot() const { return mainLayoutRoot_.lock(); }
    // The text of the status line.
    std::string statusText() const;

    // Re-reads the switches and states the window shows.
    void refreshRuntimeState();
    // Hands the stored switches to the input controller for the trust
    // state: without Accessibility every feature that watches the mouse or
    // trackpad is held off, whatever its switch says (the switches
    // themselves keep the person's choice).
    void applyAccessibilityFeatureState(bool trusted);
    // Offers an application to add as a quick-launch entry.
    void addQuickApplication(platform::Button& sender) { (void)sender; }
    // Asks for a website to add as a quick-launch entry.
    void addQuickWebsite() {}
    // Asks for an information snippet to add as a quick-launch entry.
    void addQuickInformation() {}
    // Asks for a name (the date and time by default) and saves the current
    // windows as a layout under it; a failed capture is shown in an alert.
    void saveLayout();

private:
    void buildInterface();

    std::shared_ptr<SnapEngine> snapEngine_;
    std::shared_ptr<LayoutStore> layoutStore_;
    std::shared_ptr<QuickLaunchStore> quickLaunchStore_;
    std::shared_ptr<InputController> inputController_;
    PreferredPID preferredPID_;
    std::weak_ptr<platform::View> mainLayoutRoot_;
    std::shared_ptr<platform::Label> statusLabel_;
};

}  // namespace tallowmere
