#include "platform/desktop/finder_sync_controller.h"

#include "platform/desktop/desktop.h"

namespace tallowmere::platform {

FinderSyncController& FinderSyncController::defaultController() { return Desktop::shared().finderSync(); }

bool FinderSyncController::observes(const std::filesystem::path& folder) const {
    const auto wanted = folder.lexically_normal();
    for (const auto& url : directoryURLs_) {
        auto watched = url.fileSystemPath();
        if (!watched) continue;
        const auto root = std::filesystem::path(*watched).lexically_normal();
        // Inside: the relative path does not climb out.
        const auto relative = wanted.lexically_relative(root);
        if (!relative.empty() && *relative.begin() != "..") return true;
    }
    return false;
}

void FinderSyncController::setExtension(std::weak_ptr<Extension> extension) {
    extension_ = std::move(extension);
    toolbarItem_.reset();
}

void FinderSyncController::setMenuContext(std::vector<Url> selected, std::optional<Url> targeted) {
    selected_ = std::move(selected);
    targeted_ = std::move(targeted);
}

void FinderSyncController::showExtensionMenu(FinderSyncMenuKind kind, ScreenPoint location,
                                             const std::filesystem::path& folder, std::vector<Url> selected,
                                             std::optional<Url> targeted) {
    auto extension = extension_.lock();
    if (!extension || !extension->load() || !observes(folder)) return;
    setMenuContext(std::move(selected), std::move(targeted));
    extension->showMenu(kind, location);
    clearMenuContext();
}

std::optional<FinderSyncController::ToolbarItem> FinderSyncController::toolbarItemFor(
    const std::filesystem::path& folder) {
    auto extension = extension_.lock();
    if (!extension || !extension->load() || !observes(folder)) return std::nullopt;
    if (!toolbarItem_) toolbarItem_ = extension->toolbarItem();
    return toolbarItem_;
}

}  // namespace tallowmere::platform
