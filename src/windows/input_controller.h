#pragma once

#include <functional>
#include <memory>
#include <string>

namespace tallowmere {

class QuickLaunchPanel;
class QuickLaunchStore;
class SnapEngine;

// Listens to the mouse and trackpad while other applications are in front
// and turns gestures into window placements, the quick-launch panel or the
// selection bar. Made once by the application delegate on first use; it
// owns the quick-launch panel.
//
// For now it carries the hand-overs between the shell, the main window and
// the quick-launch panel; the event monitors, gestures and panels come with
// window management.
class InputController {
public:
    static std::shared_ptr<InputController> make(std::shared_ptr<SnapEngine> snapEngine,
                                                 std::shared_ptr<QuickLaunchStore> quickLaunchStore);
    InputController(const InputController&) = delete;
    InputController& operator=(const InputController&) = delete;

    const std::shared_ptr<SnapEngine>& snapEngine() const { return snapEngine_; }
    QuickLaunchPanel& quickLaunchPanel() { return *quickLaunchPanel_; }

    // A status line to show (the main window wires it to its status text).
    std::function<void(const std::string& text)> onAction;
    // Requests the controller and its panels cannot serve themselves.
    std::function<void()> onRequestOpenSettings;
    std::function<void()> onRequestAddQuickApplication;
    std::function<void()> onRequestAddQuickWebsite;
    std::function<void()> onRequestAddQuickInformation;

private:
    InputController(std::shared_ptr<SnapEngine> snapEngine, std::shared_ptr<QuickLaunchStore> quickLaunchStore);

    std::shared_ptr<SnapEngine> snapEngine_;
    std::shared_ptr<QuickLaunchPanel> quickLaunchPanel_;
};

}  // namespace tallowmere
