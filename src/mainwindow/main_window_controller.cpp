#include "mainwindow/main_window_controller.h"

#include "platform/desktop/desktop.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/label.h"
#include "platform/ui/view.h"
#include "platform/ui/window.h"
#include "mainwindow/input_feature_switches.h"
#include "windows/input_controller.h"

namespace tallowmere {

std::shared_ptr<MainWindowController> MainWindowController::make(
    std::shared_ptr<SnapEngine> snapEngine, std::shared_ptr<LayoutStore> layoutStore,
    std::shared_ptr<QuickLaunchStore> quickLaunchStore, std::shared_ptr<InputController> inputController,
    PreferredPID preferredPID, std::shared_ptr<platform::Window> window) {
    auto controller = WindowController::make<MainWindowController>(
        std::move(snapEngine), std::move(layoutStore), std::move(quickLaunchStore), inputController,
        std::move(preferredPID), std::move(window));
    if (inputController) {
        inputController->onAction = [weak = std::weak_ptr<MainWindowController>(controller)](const std::string& text) {
            if (auto owner = weak.lock()) owner->statusLabel_->setStringValue(text);
        };
        inputController->setMainWindow(controller->window());
    }
    controller->refreshRuntimeState();
    return controller;
}

MainWindowController::MainWindowController(std::shared_ptr<SnapEngine> snapEngine,
                                           std::shared_ptr<LayoutStore> layoutStore,
                                           std::shared_ptr<QuickLaunchStore> quickLaunchStore,
                                           std::shared_ptr<InputController> inputController,
                                           PreferredPID preferredPID, std::shared_ptr<platform::Window> window)
    : WindowController(std::move(window)),
      snapEngine_(std::move(snapEngine)),
      layoutStore_(std::move(layoutStore)),
      quickLaunchStore_(std::move(quickLaunchStore)),
      inputController_(std::move(inputController)),
      preferredPID_(std::move(preferredPID)) {
    buildInterface();
}

void MainWindowController::refreshRuntimeState() {
    // Trust is read afresh every time: it may have been granted meanwhile.
    applyAccessibilityFeatureState(platform::DesktopLink::desktop().accessibility().isProcessTrusted());
}

void MainWindowController::applyAccessibilityFeatureState(bool trusted) {
    if (inputController_) InputFeatureSwitches::apply(*inputController_, trusted);
}

std::string MainWindowController::statusText() const { return statusLabel_->stringValue(); }

void MainWindowController::buildInterface() {
    statusLabel_ = platform::Label::make();
    auto window = this->window();
    if (!window) return;
    auto content = window->contentView();
    if (!content) {
        content = platform::View::make();
        window->setContentView(content);
    }
    statusLabel_->setPlacement(platform::Placement{20.0, 20.0, std::nullopt, 16.0, std::nullopt, std::nullopt});
    content->addSubview(statusLabel_);
}

}  // namespace tallowmere
