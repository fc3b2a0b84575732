#include "mainwindow/main_window_controller.h"

#include "localization/interface_language.h"
#include "mainwindow/input_feature_switches.h"
#include "platform/base/date_formatter.h"
#include "platform/base/gregorian_calendar.h"
#include "platform/desktop/desktop.h"
#include "platform/runtime/app_context.h"
#include "platform/ui/alert.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/label.h"
#include "platform/ui/text_field.h"
#include "platform/ui/view.h"
#include "platform/ui/window.h"
#include "windows/input_controller.h"
#include "windows/layout_store.h"

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

void MainWindowController::saveLayout() {
    auto alert = platform::Alert::make();
    alert->messageText = L("保存当前工作区");
    alert->informativeText = L("为这组窗口布局输入名称。");
    const auto now = platform::AppContext::current().clock().now();
    auto formatter = platform::DateFormatter::make("yyMMddHHmm", platform::GregorianCalendar::current().timeZoneIdentifier());
    auto name = platform::TextField::make(formatter ? formatter->string(now) : std::string());
    name->setFrame({0, 0, 260, 24});
    alert->accessoryView = name;
    alert->addButton(L("保存"));
    alert->addButton(L("取消"));
    if (alert->runModal() != platform::ModalResponses::alertFirstButton) return;
    if (auto captured = layoutStore_->capture(name->stringValue()); !captured) {
        auto failure = platform::Alert::make();
        failure->messageText = captured.error().message;
        failure->addButton(L("好"));
        failure->runModal();
        return;
    }
    statusLabel_->setStringValue(L("已保存当前工作区。"));
}

}  // namespace tallowmere
