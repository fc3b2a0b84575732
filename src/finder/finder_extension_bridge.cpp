#include "finder/finder_extension_bridge.h"

#include <algorithm>

#include "finder/finder_alerts.h"
#include "finder/finder_destination_resolver.h"
#include "finder/finder_file_operations.h"
#include "finder/finder_selection_reader.h"
#include "platform/base/url.h"
#include "platform/desktop/pasteboard.h"
#include "platform/desktop/workspace.h"
#include "platform/runtime/app_context.h"
#include "platform/system/files.h"
#include "platform/ui/alert.h"
#include "platform/ui/application.h"

namespace tallowmere {

namespace fs = std::filesystem;
using namespace platform;

namespace {

constexpr int newFileNameLimit = 10000;

}  // namespace

FinderExtensionBridge& FinderExtensionBridge::shared() {
    return AppContext::current().shared<FinderExtensionBridge>();
}

void FinderExtensionBridge::handle(const Url& url) {
    auto request = FinderRequest::read(url);
    if (!request) return;
    hasHandledRequest_ = true;

    if (FinderRequest::actsOnSelection(request->action) && request->paths.empty()) {
        FinderSelectionReader::shared().read([url, action = request->action](std::vector<fs::path> selection) {
            FinderExtensionBridge::shared().selectionArrived(url, action, selection);
        });
        return;
    }
    if (request->directory.empty()) {
        FinderDestinationResolver::shared().resolve([url](std::optional<fs::path> folder) {
            if (!folder) return;
            if (auto again = FinderRequest::withDirectory(url, *folder)) FinderExtensionBridge::shared().handle(*again);
        });
        return;
    }

    const auto paths = request->checkedPaths();
    if (!paths) return showError("文件操作路径无效，未执行操作。");
    for (const auto& item : paths->items) {
        if (!Files::fileExists(item)) return showError("所选项目已不存在，未执行操作。");
    }
    bool isDirectory = false;
    if (!Files::fileExists(paths->directory, &isDirectory) || !isDirectory) {
        return showError("目标文件夹已不存在，请重新打开 Finder 文件夹后再试。");
    }

    const auto& action = request->action;
    if (action == "copy") return copyPaths(*paths);
    if (action == "terminal") return openInTerminal(paths->directory);
    if (action == "create") {
        if (request->type && FinderRequest::isNewFileType(*request->type)) createNewFile(paths->directory, *request->type);
        return;
    }
    if (FinderRequest::needsConfirmation(action) && !confirmMetadataChange(action, paths->directory, paths->items)) return;
    FinderFileOperations::shared().handle(action, paths->directory, paths->items);
}

void FinderExtensionBridge::selectionArrived(const Url& request, const std::string& action,
                                             const std::vector<fs::path>& selection) {
    if (selection.empty()) return;
    if (action == "dissolve") {
        const bool allFolders = std::all_of(selection.begin(), selection.end(), [](const fs::path& item) {
            return Files::kindOf(item) == Files::FileKind::directory;
        });
        if (!allFolders) return showError("解散文件夹仅适用于文件夹，请重新选择。");
    }
    if (auto again = FinderRequest::withSelection(request, selection)) handle(*again);
}

void FinderExtensionBridge::copyPaths(const FinderRequest::Paths& paths) {
    std::string text;
    if (paths.items.empty()) {
        text = paths.directory.string();
    } else {
        for (std::size_t i = 0; i < paths.items.size(); ++i) text += (i ? "\n" : "") + paths.items[i].string();
    }
    auto& pasteboard = Pasteboard::general();
    pasteboard.clearContents();
    pasteboard.setString(text);
}

void FinderExtensionBridge::openInTerminal(const fs::path& directory) {
    auto& workspace = Workspace::shared();
    const auto terminal = workspace.urlForApplication("com.apple.Terminal");
    if (!terminal) return showError("未找到系统终端。");
    workspace.openURLs({Url::fileUrl(directory.string(), true).string()}, *terminal, OpenConfiguration{},
                       [](Result<std::shared_ptr<RunningApplication>> opened) {
                           if (!opened) FinderExtensionBridge::shared().showError(opened.error().message);
                       });
}

void FinderExtensionBridge::createNewFile(const fs::path& directory, const std::string& type) {
    for (int number = 0; number < newFileNameLimit; ++number) {
        const auto file = directory / FinderRequest::newFileName(type, number);
        auto created = Files::createEmptyExclusively(file);
        if (created) {
            Workspace::shared().activateFileViewerSelecting({Url::fileUrl(file.string()).string()});
            return;
        }
        if (created.error().code != ErrorCode::alreadyExists) return showError(created.error().message);
    }
    showError("同名文件过多，请清理或改用其他文件夹。");
}

bool FinderExtensionBridge::confirmMetadataChange(std::string_view action, const fs::path& directory,
                                                  const std::vector<fs::path>& paths) {
    const std::string title = action == "hide"     ? "隐藏所选文件"
                              : action == "unhide" ? "取消隐藏所选文件"
                                                   : "取消隐藏文件夹内全部项目";
    std::vector<std::string> targets;
    if (action == "unhide-all") {
        targets.push_back(directory.string());
    } else {
        for (const auto& path : paths) targets.push_back(path.string());
    }
    if (targets.empty()) return false;

    auto alert = Alert::make();
    alert->alertStyle = AlertStyle::warning;
    alert->messageText = title + "？";
    alert->informativeText = "此请求来自 Finder 链接。请核对目标后再继续：\n\n" + FinderAlerts::targetList(targets);
    alert->addButton(title);
    alert->addButton("取消");
    Application::shared().activate(true);
    return alert->runModal() == ModalResponses::alertFirstButton;
}

void FinderExtensionBridge::showError(const std::string& message) {
    FinderAlerts::showError(FinderAlerts::bridgeTitle, message);
}

}  // namespace tallowmere
