#pragma once

#include <functional>
#include <memory>
#include <string>

namespace tallowmere {

class MouseSnapPalette;
class QuickLaunchPanel;
class QuickLaunchStore;
class SnapEngine;
class SnapPreviewOverlay;

// Listens to the mouse and trackpad while other applications are in front
// and turns gestures into window placements, the quick-launch panel or the
// selection bar. Made once by the application delegate on first use; it
// owns the snap preview, the snap palette (made hidden) and the quick-launch
// panel.
//
// For now it carries the hand-overs between the shell, the main window and
// the quick-launch panel, and holds the preview and the palette; the event
// monitors and gestures that drive them come with input handling.
class InputController {
public:
    static std::shared_ptr<InputController> make(std::shared_ptr<SnapEngine> snapEngine,
                                                 std::shared_ptr<QuickLaunchStore> quickLaunchStore);
    ~InputController();
    InputController(const InputController&) = delete;
    InputController& operator=(const InputController&) = delete;

    const std::shared_ptr<SnapEngine>& snapEngine() const { return snapEngine_; }
    QuickLaunchPanel& quickLaunchPanel() { return *quickLaunchPanel_; }
    // Where a gesture or drag would place the window.
    SnapPreviewOverlay& previewOverlay() { return *previewOverlay_; }
    // The dial shown beside the pointer while a title bar is dragged; the
    // settings set its theme when the person picks one.
    MouseSnapPalette& mousePalette() { return *mousePalette_; }

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
    std::unique_ptr<SnapPreviewOverlay> previewOverlay_;
    std::unique_ptr<MouseSnapPalette> mousePalette_;
    std::shared_ptr<QuickLaunchPanel> quickLaunchPanel_;
};

}  // namespace tallowmere
