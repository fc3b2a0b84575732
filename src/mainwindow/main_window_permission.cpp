// Keeping the switches, the input controller's flags and Accessibility
// trust in step: the poll after a prompt, and the refresh at activation.
#include "app/appearance_preferences.h"
#include "app/launch_at_login_manager.h"
#include "app/status_bar_icon_preference.h"
#include "localization/interface_language.h"
#include "localization/product_identity.h"
#include "mainwindow/input_feature_switches.h"
#include "mainwindow/main_window_controller.h"
#include "platform/base/format.h"
#include "platform/desktop/desktop.h"
#include "platform/runtime/timer.h"
#include "platform/system/user_defaults.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/window.h"
#include "quicklaunch/quick_launch_panel.h"
#include "selection/selvane_preferences.h"
#include "windows/input_controller.h"
#include "windows/layout_store.h"
#include "windows/long_press_destination.h"
#include "windows/selection_bar.h"

namespace tallowmere {

using namespace platform;

namespace {

bool isTrusted() { return DesktopLink::desktop().accessibility().isProcessTrusted(); }

// Absent or not a Boolean: on.
bool missingMeansOn(std::string_view key) { return UserDefaults::standard().storedBoolean(key).value_or(true); }

// One poll lasts a minute; each prompt starts a new one.
constexpr double permissionPollingInterval = 0.5;
constexpr int permissionPollingTicks = 120;

void visitLabels(View& root, const std::function<void(Label&)>& visit) {
    for (const auto& child : root.subviews()) {
        if (auto* label = dynamic_cast<Label*>(child.get())) visit(*label);
        visitLabels(*child, visit);
    }
}

}  // namespace

void MainWindowController::applyAccessibilityFeatureState(bool trusted) {
    // The switches show the person's choice; trust only decides what runs.
    gestureSwitch->setOn(missingMeansOn("gestureEnabled"));
    naturalDirectionSwitch->setOn(missingMeansOn("naturalDirectionEnabled"));
    mouseSwitch->setOn(missingMeansOn("mouseEnabled"));
    edgeSnapSwitch->setOn(missingMeansOn("edgeSnapEnabled"));
    quickLaunchSwitch->setOn(missingMeansOn(LongPressDestinationPreference::quickLaunchEnabledKey));
    const auto destination = LongPressDestinationPreference::current();
    quickLaunchLongPressSwitch->setOn(destination == LongPressDestination::quickLaunch);
    selvaneSwitch->setOn(SelvanePreferences::isEnabled());
    selvaneLongPressSwitch->setOn(destination == LongPressDestination::selvane);
    workspaceMemorySwitch->setOn(WorkspaceMemoryPreference::isEnabled());
    if (inputController_) InputFeatureSwitches::apply(*inputController_, trusted);
    updateWorkspaceControlsState();
}

void MainWindowController::handSwitchStatesToInputController() {
    if (!inputController_) return;
    auto& input = *inputController_;
    input.gestureEnabled = gestureSwitch->isOn();
    input.updateGestureMonitor();
    input.naturalDirectionEnabled = naturalDirectionSwitch->isOn();
    input.mouseEnabled = mouseSwitch->isOn();
    input.updateMouseMonitor();
    input.edgeSnapEnabled = edgeSnapSwitch->isOn();
    input.quickLaunchEnabled = quickLaunchSwitch->isOn();
    input.updateMouseMonitor();
    if (!input.quickLaunchEnabled) input.quickLaunchPanel().panel()->orderOut();
    input.quickLaunchLongPressEnabled = quickLaunchLongPressSwitch->isOn();
    if (!input.quickLaunchLongPressEnabled) {
        input.cancelQuickLaunchLongPress();
        input.quickLaunchPanel().panel()->orderOut();
        input.quickLaunchLongPressTriggered = false;
    }
    input.selvaneEnabled = selvaneSwitch->isOn();
    input.updateMouseMonitor();
    if (!input.selvaneEnabled) input.selvanePanel().hide();
}

void MainWindowController::requestPermission() {
    DesktopLink::desktop().accessibility().isProcessTrusted(true);
    startPermissionPolling();
    setStatus(formatTemplate(L("请在系统设置中允许 %@，然后返回本应用。"), std::string(ProductIdentity::displayName)));
}

void MainWindowController::startPermissionPolling() {
    if (permissionPollingTimer_) permissionPollingTimer_->invalidate();
    auto ticks = std::make_shared<int>(0);
    std::weak_ptr<MainWindowController> weak = std::static_pointer_cast<MainWindowController>(shared_from_this());
    permissionPollingTimer_ =
        Timer::scheduledTimer(permissionPollingInterval, true, [weak, ticks](Timer& timer) {
            auto self = weak.lock();
            if (!self) {
                timer.invalidate();
                return;
            }
            ++*ticks;
            if (isTrusted()) {
                self->refreshPermission();
                timer.invalidate();
                return;
            }
            if (*ticks >= permissionPollingTicks) {
                timer.invalidate();
                if (self->permissionPollingTimer_.get() == &timer) self->permissionPollingTimer_.reset();
            }
        });
}

bool MainWindowController::isPollingForPermission() const {
    return permissionPollingTimer_ && permissionPollingTimer_->isValid();
}

void MainWindowController::refreshAuthorizationTitleVisibility(std::shared_ptr<View> root) {
    if (!isTrusted()) return;
    if (!root) {
        auto window = this->window();
        root = window ? window->contentView() : nullptr;
    }
    if (!root) return;
    const std::string marker = "（" + std::string(L("需授权")) + "）";
    visitLabels(*root, [this, &marker](Label& label) {
        const std::string title = label.stringValue();
        if (title.find(marker) == std::string::npos) return;
        applyAuthorizationTitleStyle(label, title, label.font());
    });
}

void MainWindowController::refreshRuntimeState() {
    refreshPermission();
    launchSwitch->setOn(LaunchAtLoginManager::isEnabled());
    selvaneChromeStyleButton->setState(UserDefaults::standard().storedBoolean("selvaneChromeStyleEnabled").value_or(false)
                                           ? ControlState::on
                                           : ControlState::off);
    outlineColorWell->setColor(AppearancePreferences::outlineColor());
    statusIconPopup->selectItem(static_cast<std::size_t>(StatusBarIconPreference::style()));
    updateStatusIconPreview();
}

}  // namespace tallowmere
