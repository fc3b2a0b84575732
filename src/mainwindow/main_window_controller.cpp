#include "mainwindow/main_window_controller.h"

#include "localization/interface_language.h"
#include "localization/product_identity.h"
#include "mainwindow/horizontal_paging_coordinator.h"
#include "platform/base/format.h"
#include "platform/desktop/desktop.h"
#include "platform/runtime/app_context.h"
#include "platform/runtime/timer.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/menu_item.h"
#include "platform/ui/view.h"
#include "platform/ui/window.h"
#include "quicklaunch/quick_launch_entry.h"
#include "quicklaunch/quick_launch_store.h"
#include "windows/input_controller.h"
#include "windows/layout_store.h"

namespace tallowmere {

using namespace platform;

namespace {

bool usesChineseTexts() { return ProductIdentity::usesChineseDisplayName(); }

std::string quickLaunchKindName(QuickLaunchKind kind) {
    switch (kind) {
    case QuickLaunchKind::application: return L("应用");
    case QuickLaunchKind::website: return L("网页");
    case QuickLaunchKind::information: return L("信息");
    case QuickLaunchKind::file: return L("文件");
    case QuickLaunchKind::newFile: return L("新建文件");
    }
    return {};
}

}  // namespace

std::shared_ptr<MainWindowController> MainWindowController::make(
    std::shared_ptr<SnapEngine> snapEngine, std::shared_ptr<LayoutStore> layoutStore,
    std::shared_ptr<QuickLaunchStore> quickLaunchStore, std::shared_ptr<InputController> inputController,
    PreferredPID preferredPID, std::shared_ptr<Window> window) {
    auto controller = WindowController::make<MainWindowController>(
        std::move(snapEngine), std::move(layoutStore), std::move(quickLaunchStore), inputController,
        std::move(preferredPID), std::move(window));
    controller->installTitleBarDoubleClickMonitor();
    controller->buildInterface();
    controller->installQuickLaunchActions();
    controller->refreshPermission();
    controller->refreshLayouts();
    controller->refreshQuickLaunchEntries();
    if (inputController) {
        inputController->onAction = [weak = std::weak_ptr<MainWindowController>(controller)](const std::string& text) {
            if (auto owner = weak.lock()) owner->statusLabel->setStringValue(text);
        };
        inputController->setMainWindow(controller->window());
    }
    return controller;
}

MainWindowController::MainWindowController(std::shared_ptr<SnapEngine> snapEngine,
                                           std::shared_ptr<LayoutStore> layoutStore,
                                           std::shared_ptr<QuickLaunchStore> quickLaunchStore,
                                           std::shared_ptr<InputController> inputController,
                                           PreferredPID preferredPID, std::shared_ptr<Window> window)
    : WindowController(std::move(window)),
      selvaneChromeStyleButton(Button::makeCheckBox(usesChineseTexts() ? "Chrome 增强读取（可选）"
                                                                       : "Enhanced Chrome Reading (Optional)")),
      dialThemePreviewView(MousePaletteView::make({})),
      quickLaunchIconStrip(QuickLaunchIconStripView::make({})),
      statusLabel(Label::make(L("就绪"))),
      permissionButton(Button::make(L("授权辅助功能"))),
      snapEngine_(std::move(snapEngine)),
      layoutStore_(std::move(layoutStore)),
      quickLaunchStore_(std::move(quickLaunchStore)),
      inputController_(std::move(inputController)),
      preferredPID_(std::move(preferredPID)) {}

MainWindowController::~MainWindowController() {
    if (permissionPollingTimer_) permissionPollingTimer_->invalidate();
    if (!titleBarDoubleClickMonitor_ || !AppContext::hasCurrent()) return;
    if (auto* monitors = AppContext::current().sharedIfMade<EventMonitors>()) {
        monitors->removeMonitor(*titleBarDoubleClickMonitor_);
    }
}

void MainWindowController::installTitleBarDoubleClickMonitor() {
    std::weak_ptr<Window> weakWindow = window();
    titleBarDoubleClickMonitor_ = EventMonitors::shared().addLocalMonitor(
        eventMask(EventType::leftMouseDown), [weakWindow](const Event& event) -> std::optional<Event> {
            auto window = weakWindow.lock();
            if (!window || event.windowNumber != window->windowNumber() || event.clickCount != 2) return event;
            if (window->isFullScreen()) return event;
            // Only the transparent title-bar strip above the content layout rectangle.
            if (window->locationInWindow(event.location).y < window->contentLayoutRect().maxY()) return event;
            window->toggleFullScreen();
            return std::nullopt;
        });
}

std::shared_ptr<HorizontalPagingCoordinator> MainWindowController::pagingCoordinator() const {
    return pagesHost_ ? HorizontalPagingCoordinator::installedOn(*pagesHost_) : nullptr;
}

std::string MainWindowController::statusText() const { return statusLabel->stringValue(); }

void MainWindowController::refreshPermission() {
    const bool trusted = DesktopLink::desktop().accessibility().isProcessTrusted();
    permissionLabel->setStringValue(trusted ? L("辅助功能已授权") : L("辅助功能未授权"));
    permissionButton->setHidden(false);
    permissionButton->setAlphaValue(trusted ? 0 : 1);
    permissionButton->setEnabled(!trusted);
    permissionButton->setContentTintColor(Color::system(SystemColor::controlAccent));
    permissionDotView->setHidden(trusted);
    permissionDotView->updateAnimationState();
    permissionDotView->setNeedsDisplay();
    refreshAuthorizationTitleVisibility();
    applyAccessibilityFeatureState(trusted);
    updateAccessibilitySwitchAppearance(trusted);
    if (trusted && permissionPollingTimer_) {
        permissionPollingTimer_->invalidate();
        permissionPollingTimer_.reset();
    }
    if (inputController_) {
        inputController_->updateGestureMonitor();
        inputController_->updateMouseMonitor();
    }
}

void MainWindowController::refreshLayouts() {
    layoutPopup->removeAllItems();
    const auto layouts = layoutStore_ ? layoutStore_->layouts : std::vector<WorkspaceLayout>{};
    if (layouts.empty()) {
        layoutPopup->addItem(L("暂无已保存布局"));
        layoutPopup->setEnabled(false);
    } else {
        for (const auto& layout : layouts) {
            const auto count = static_cast<long long>(layout.windows.size());
            auto item = layoutPopup->addItem(formatTemplate(L("%@ · %d 个窗口", count), layout.name, count));
            item->setRepresentedObject(layout.id.uuidString());
        }
    }
    updateWorkspaceControlsState();
}

void MainWindowController::updateWorkspaceControlsState() {
    const bool usable = WorkspaceMemoryPreference::isEnabled() && layoutStore_ && !layoutStore_->layouts.empty();
    for (const auto& control : workspaceControls) control->setEnabled(usable);
}

void MainWindowController::refreshQuickLaunchEntries() {
    // The entry chosen before stays chosen while it exists.
    const auto previous = selectedQuickLaunchID();
    quickLaunchPopup->removeAllItems();
    const auto entries = quickLaunchStore_ ? quickLaunchStore_->entries() : std::vector<QuickLaunchEntry>{};
    if (entries.empty()) {
        quickLaunchPopup->addItem(L("暂无快捷启动项"));
        quickLaunchPopup->setEnabled(false);
        quickLaunchIconStrip->update({});
        updateQuickLaunchActionState();
        return;
    }
    quickLaunchPopup->setEnabled(true);
    for (const auto& entry : entries) {
        auto item = quickLaunchPopup->addItem(entry.name + " · " + quickLaunchKindName(entry.kind));
        item->setRepresentedObject(entry.id.uuidString());
        if (previous && entry.id == *previous) quickLaunchPopup->selectItem(item);
    }
    quickLaunchIconStrip->update(entries);
    quickLaunchIconStrip->setSelected(selectedQuickLaunchID());
    updateQuickLaunchActionState();
}

}  // namespace tallowmere
