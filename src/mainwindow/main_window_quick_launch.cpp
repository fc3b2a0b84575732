// The quick-launch card: the pop-up and the icon strip kept on one entry,
// the edit and rename buttons for its kind, and renaming, deleting,
// reordering and dropping files in.
#include <algorithm>
#include <cctype>

#include "localization/interface_language.h"
#include "mainwindow/main_window_controller.h"
#include "mainwindow/selected_identifier.h"
#include "platform/base/url.h"
#include "platform/gfx/color.h"
#include "platform/ui/alert.h"
#include "quicklaunch/quick_launch_icons.h"
#include "quicklaunch/quick_launch_store.h"

namespace tallowmere {

using namespace platform;

namespace {

bool isEditableKind(QuickLaunchKind kind) {
    return kind == QuickLaunchKind::website || kind == QuickLaunchKind::information;
}

std::optional<std::size_t> indexOfEntry(const QuickLaunchStore& store, const Uuid& id) {
    const auto& entries = store.entries();
    auto found = std::find_if(entries.begin(), entries.end(), [&](const QuickLaunchEntry& entry) { return entry.id == id; });
    if (found == entries.end()) return std::nullopt;
    return static_cast<std::size_t>(found - entries.begin());
}

// A dropped item as a path: file URLs are decoded, anything else is taken as a path.
std::string pathOfDroppedItem(const std::string& item) {
    if (auto url = Url::parse(item); url && url->isFileUrl()) {
        if (auto path = url->fileSystemPath()) return *path;
    }
    return item;
}

std::string lowercased(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The name a file list shows: the last component, an application without ".app".
std::string displayNameOfPath(const std::filesystem::path& path) {
    std::filesystem::path item = path;
    if (!item.has_filename()) item = item.parent_path();
    if (lowercased(item.extension().string()) == ".app") return item.stem().string();
    return item.filename().string();
}

// An edit the store accepted stays in memory even when writing it failed:
// the card shows the store as it is before the failure is reported.
void reportFailure(MainWindowController& controller, const Error& error) {
    controller.refreshQuickLaunchEntries();
    controller.reportStoreError(error);
}

}  // namespace

void MainWindowController::installQuickLaunchActions() {
    quickLaunchPopup->onAction = action(&MainWindowController::selectQuickEntryFromPopup);
    quickLaunchEditButton->onAction = action(&MainWindowController::editQuickEntry);
    quickLaunchRenameButton->onAction = action(&MainWindowController::renameQuickEntry);

    std::weak_ptr<MainWindowController> weak = std::static_pointer_cast<MainWindowController>(shared_from_this());
    quickLaunchIconStrip->onSelect = [weak](const Uuid& id) {
        if (auto self = weak.lock()) self->selectQuickEntryFromStrip(id);
    };
    quickLaunchIconStrip->onDoubleClick = [weak](const Uuid& id) {
        if (auto self = weak.lock()) self->openQuickEntryFromStrip(id);
    };
    quickLaunchIconStrip->onMove = [weak](const Uuid& id, int destination) {
        if (auto self = weak.lock()) self->moveQuickEntry(id, destination);
    };
    quickLaunchIconStrip->onImportFiles = [weak](const std::vector<std::string>& fileURLs) {
        if (auto self = weak.lock()) self->importQuickFiles(fileURLs);
    };
}

std::optional<Uuid> MainWindowController::selectedQuickLaunchID() const { return selectedIdentifier(*quickLaunchPopup); }

void MainWindowController::selectQuickEntryFromPopup() {
    quickLaunchIconStrip->setSelected(selectedQuickLaunchID());
    updateQuickLaunchActionState();
}

void MainWindowController::updateQuickLaunchActionState() {
    const auto id = selectedQuickLaunchID();
    const auto index = id && quickLaunchStore_ ? indexOfEntry(*quickLaunchStore_, *id) : std::nullopt;
    if (!index) {
        quickLaunchEditButton->setEnabled(false);
        quickLaunchEditButton->setContentTintColor(Color::system(SystemColor::secondaryLabel));
        quickLaunchRenameButton->setHidden(false);
        quickLaunchRenameButton->setEnabled(false);
        return;
    }
    const bool editable = isEditableKind(quickLaunchStore_->entries()[*index].kind);
    quickLaunchEditButton->setEnabled(editable);
    quickLaunchEditButton->setContentTintColor(
        Color::system(editable ? SystemColor::controlAccent : SystemColor::secondaryLabel));
    quickLaunchRenameButton->setHidden(editable);
    quickLaunchRenameButton->setEnabled(!editable);
}

void MainWindowController::editQuickEntry() {
    const auto id = selectedQuickLaunchID();
    const auto index = id && quickLaunchStore_ ? indexOfEntry(*quickLaunchStore_, *id) : std::nullopt;
    if (!index) return;
    // A copy: the dialog runs while the store may change under it.
    const QuickLaunchEntry entry = quickLaunchStore_->entries()[*index];
    if (entry.kind == QuickLaunchKind::website) {
        editQuickWebsite(entry);
    } else if (entry.kind == QuickLaunchKind::information) {
        editQuickInformation(entry);
    }
}

void MainWindowController::selectQuickEntryFromStrip(const Uuid& id) {
    const auto index = quickLaunchStore_ ? indexOfEntry(*quickLaunchStore_, id) : std::nullopt;
    if (!index) return;
    quickLaunchPopup->selectItem(*index);
    quickLaunchIconStrip->setSelected(id);
    updateQuickLaunchActionState();
}

void MainWindowController::openQuickEntryFromStrip(const Uuid& id) {
    const auto index = quickLaunchStore_ ? indexOfEntry(*quickLaunchStore_, id) : std::nullopt;
    if (!index || !isEditableKind(quickLaunchStore_->entries()[*index].kind)) return;
    selectQuickEntryFromStrip(id);
    editQuickEntry();
}

void MainWindowController::moveQuickEntry(const Uuid& id, int destination) {
    if (!quickLaunchStore_) return;
    if (auto moved = quickLaunchStore_->move(id, destination); !moved) {
        reportFailure(*this, moved.error());
        return;
    }
    refreshQuickLaunchEntries();
    selectQuickEntryFromStrip(id);
    statusLabel->setStringValue(L("快捷启动顺序已保存。"));
}

void MainWindowController::importQuickFiles(const std::vector<std::string>& fileURLs) {
    if (!quickLaunchStore_) return;
    for (const auto& item : fileURLs) {
        const std::filesystem::path path = pathOfDroppedItem(item);
        const std::string name = displayNameOfPath(path);
        auto added = lowercased(path.extension().string()) == ".app"
                         ? quickLaunchStore_->addApplication(path, name)
                         : quickLaunchStore_->addFile(path.string(), name);
        if (!added) {
            // What was added before the failure stays stored and shown.
            reportFailure(*this, added.error());
            return;
        }
    }
    refreshQuickLaunchEntries();
    statusLabel->setStringValue(L("已添加本地文件或文件夹。"));
}

void MainWindowController::renameQuickEntry() {
    const auto id = selectedQuickLaunchID();
    const auto index = id && quickLaunchStore_ ? indexOfEntry(*quickLaunchStore_, *id) : std::nullopt;
    if (!index) return;
    const QuickLaunchEntry entry = quickLaunchStore_->entries()[*index];
    auto name = promptForName(L("重命名快捷启动"), entry.name, quickLaunchIcon(entry));
    if (!name) return;
    if (auto renamed = quickLaunchStore_->rename(entry.id, *name); !renamed) {
        reportFailure(*this, renamed.error());
        return;
    }
    refreshQuickLaunchEntries();
    statusLabel->setStringValue(L("已重命名快捷启动项。"));
}

void MainWindowController::deleteQuickEntry() {
    const auto id = selectedQuickLaunchID();
    if (!id || !quickLaunchStore_) return;
    auto alert = Alert::make();
    alert->messageText = L("删除快捷启动项？");
    alert->informativeText = L("这不会删除原始内容，只会移除快捷方式。");
    alert->addButton(L("删除"));
    alert->addButton(L("取消"));
    if (alert->runModal() != ModalResponses::alertFirstButton) return;
    if (auto deleted = quickLaunchStore_->deleteEntry(*id); !deleted) {
        reportFailure(*this, deleted.error());
        return;
    }
    refreshQuickLaunchEntries();
    statusLabel->setStringValue(L("已删除快捷启动项。"));
}

void MainWindowController::reportStoreError(const Error& error) {
    auto alert = Alert::make();
    alert->messageText = error.message;
    alert->addButton(L("好"));
    alert->runModal();
    statusLabel->setStringValue(error.message);
    refreshPermission();
}

}  // namespace tallowmere
