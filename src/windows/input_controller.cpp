#include "windows/input_controller.h"

#include "quicklaunch/quick_launch_panel.h"
#include "windows/mouse_snap_palette.h"
#include "windows/snap_preview_overlay.h"

namespace tallowmere {

std::shared_ptr<InputController> InputController::make(std::shared_ptr<SnapEngine> snapEngine,
                                                       std::shared_ptr<QuickLaunchStore> quickLaunchStore) {
    std::shared_ptr<InputController> controller(new InputController(std::move(snapEngine), std::move(quickLaunchStore)));
    // The panel's status texts go wherever the controller's go, while both exist.
    controller->quickLaunchPanel_->onAction = [weak = std::weak_ptr<InputController>(controller)](const std::string& text) {
        auto owner = weak.lock();
        if (owner && owner->onAction) owner->onAction(text);
    };
    return controller;
}

InputController::InputController(std::shared_ptr<SnapEngine> snapEngine, std::shared_ptr<QuickLaunchStore> quickLaunchStore)
    : snapEngine_(std::move(snapEngine)),
      previewOverlay_(std::make_unique<SnapPreviewOverlay>()),
      mousePalette_(std::make_unique<MouseSnapPalette>()),
      quickLaunchPanel_(std::make_shared<QuickLaunchPanel>(std::move(quickLaunchStore))) {}

InputController::~InputController() = default;

}  // namespace tallowmere
