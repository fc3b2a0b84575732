// The window-memory card: saving the current windows as a layout (asked
// from the status menu), restoring and deleting the layout chosen in the
// card's pop-up.
#include "localization/interface_language.h"
#include "mainwindow/main_window_controller.h"
#include "mainwindow/selected_identifier.h"
#include "platform/base/date_formatter.h"
#include "platform/base/format.h"
#include "platform/base/gregorian_calendar.h"
#include "platform/runtime/app_context.h"
#include "platform/ui/alert.h"
#include "platform/ui/text_field.h"
#include "windows/layout_store.h"

namespace tallowmere {

using namespace platform;

namespace {

// Minutes are enough to tell a person's saves apart, and the stamp sorts as it reads.
std::string defaultLayoutName() {
    auto formatter = DateFormatter::make("yyMMddHHmm", GregorianCalendar::current().timeZoneIdentifier());
    return formatter ? formatter->string(AppContext::current().clock().now()) : std::string();
}

}  // namespace

std::optional<Uuid> MainWindowController::selectedLayoutID() const { return selectedIdentifier(*layoutPopup); }

void MainWindowController::saveLayout() {
    if (!layoutStore_) return;
    auto alert = Alert::make();
    alert->messageText = L("保存当前工作区");
    alert->informativeText = L("为这组窗口布局输入名称。");
    alert->addButton(L("保存"));
    alert->addButton(L("取消"));
    auto name = TextField::make(defaultLayoutName());
    name->setFrame({0, 0, 300, 24});
    alert->accessoryView = name;
    if (alert->runModal() != ModalResponses::alertFirstButton) return;
    if (auto captured = layoutStore_->capture(name->stringValue()); !captured) {
        // A write that failed still leaves the new layout in the list.
        refreshLayouts();
        reportStoreError(captured.error());
        return;
    }
    refreshLayouts();
    statusLabel->setStringValue(L("已保存当前工作区。"));
}

void MainWindowController::restoreLayout() {
    const auto id = selectedLayoutID();
    if (!id || !layoutStore_) return;
    statusLabel->setStringValue(L("正在恢复布局…"));
    std::weak_ptr<MainWindowController> weak = std::static_pointer_cast<MainWindowController>(shared_from_this());
    layoutStore_->restore(*id, [weak](Result<int> restored) {
        // Reported on a later turn, whichever queue the store finished on.
        AppContext::current().mainQueue().async([weak, restored = std::move(restored)] {
            auto self = weak.lock();
            if (!self) return;
            if (!restored) {
                self->reportStoreError(restored.error());
                return;
            }
            const long long count = *restored;
            self->statusLabel->setStringValue(formatTemplate(L("已恢复 %d 个窗口。", count), count));
        });
    });
}

void MainWindowController::deleteLayout() {
    const auto id = selectedLayoutID();
    if (!id || !layoutStore_) return;
    auto deleted = layoutStore_->deleteLayout(*id);
    // The layout is gone from the list even when writing the file failed.
    refreshLayouts();
    if (!deleted) {
        reportStoreError(deleted.error());
        return;
    }
    statusLabel->setStringValue(L("已删除布局。"));
}

}  // namespace tallowmere
