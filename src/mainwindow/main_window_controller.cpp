#include "mainwindow/main_window_controller.h"

#include "platform/desktop/desktop.h"
#include "platform/system/user_defaults.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/label.h"
#include "platform/ui/view.h"
#include "platform/ui/window.h"
#include "quicklaunch/quick_launch_panel.h"
#include "selection/selvane_preferences.h"
#include "windows/input_controller.h"
#include "windows/long_press_destination.h"
#include "windows/selection_bar.h"

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
    if (!inputController_) return;
    auto& input = *inputController_;
    auto& defaults = platform::UserDefaults::standard();
    // These switches are on until the person turns them off.
    auto switchOn = [&defaults](std::string_view key) { return defaults.storedBoolean(key).value_or(true); };
    const auto destination = LongPressDestinationPreference::current();

    input.gestureEnabled = trusted && switchOn("gestureEnabled");
    input.updateGestureMonitor();
    input.naturalDirectionEnabled = switchOn("naturalDirectionEnabled");
    input.mouseEnabled = trusted && switchOn("mouseEnabled");
    input.updateMouseMonitor();
    input.edgeSnapEnabled = trusted && switchOn("edgeSnapEnabled");

    input.quickLaunchEnabled = switchOn(LongPressDestinationPreference::quickLaunchEnabledKey);
    input.updateMouseMonitor();
    if (!input.quickLaunchEnabled) input.quickLaunchPanel().panel()->orderOut();

    input.quickLaunchLongPressEnabled = trusted && destination == LongPressDestination::quickLaunch;
    if (!input.quickLaunchLongPressEnabled) {
        input.cancelQuickLaunchLongPress();
        input.quickLaunchPanel().panel()->orderOut();
        input.quickLaunchLongPressTriggered = false;
    }

    input.selvaneEnabled = trusted && SelvanePreferences::isEnabled();
    input.updateMouseMonitor();
    if (!input.selvaneEnabled) input.selvanePanel().hide();
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
