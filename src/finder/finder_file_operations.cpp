#include "finder/finder_file_operations.h"

#include <functional>
#include <sstream>

#include "finder/finder_alerts.h"
#include "finder/finder_transfer_plan.h"
#include "platform/base/text.h"
#include "platform/base/url.h"
#include "platform/desktop/pasteboard.h"
#include "platform/desktop/sharing_service.h"
#include "platform/desktop/workspace.h"
#include "platform/runtime/app_context.h"
#include "platform/system/files.h"
#include "platform/system/process_runner.h"
#include "platform/ui/alert.h"
#include "platform/ui/application.h"
#include "platform/ui/file_panel.h"

namespace tallowmere {

namespace fs = std::filesystem;
using namespace platform;

namespace {

void onMain(std::function<void()> block) {
    AppContext::current().mainQueue().async(std::move(block));
}

void showError(const std::string& message) {
    FinderAlerts::showError(FinderAlerts::operationsTitle, message);
}

std::vector<std::string> pathTexts(const std::vector<fs::path>& paths) {
    std::vector<std::string> texts;
    for (const auto& path : paths) texts.push_back(path.string());
    return texts;
}

std::vector<std::string> fileURLs(const std::vector<fs::path>& paths) {
    std::vector<std::string> urls;
    for (const auto& path : paths) urls.push_back(Url::fileUrl(path.string()).string());
    return urls;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) text += (i ? "\n" : "") + lines[i];
    return text;
}

// The hash command for an algorithm, as the Mac runs it.
ProcessRequest hashRequest(std::string_view algorithm, const fs::path& file) {
    if (algorithm == "MD5") return {"/usr/bin/md5", {"-q", file.string()}};
    return {"/usr/bin/shasum", {"-a", algorithm == "SHA-1" ? "1" : "256", file.string()}};
}

// The digest a hash command printed: its first word. The command's own
// messages go to standard error and never count.
std::optional<std::string> digestOf(const fs::path& file, std::string_view algorithm) {
    auto request = hashRequest(algorithm, file);
    request.output = ProcessOutput::separate;
    auto ran = ProcessRunner::run(request);
    if (!ran || !ran->succeeded() || !Text::isValidUtf8(ran->standardOutput)) return std::nullopt;
    std::istringstream words(ran->standardOutput);
    std::string first;
    if (!(words >> first)) return std::nullopt;
    return first;
}

}  // namespace

FinderFileOperations& FinderFileOperations::shared() {
    return AppContext::current().shared<FinderFileOperations>();
}

void FinderFileOperations::handle(std::string_view action, const fs::path& directory, const Paths& paths) {
    if (action == "hide") return setHidden(true, paths);
    if (action == "unhide") return setHidden(false, paths);
    if (action == "unhide-all") return unhideAll(directory);
    if (action == "airdrop") return shareByAirDrop(paths);
    if (action == "copy-to") return chooseDestination("复制到", paths, false);
    if (action == "move-to") return chooseDestination("移动到", paths, true);
    if (action == "dissolve") return dissolveFolders(paths);
    if (action == "hash-md5") return calculateHashes(paths, "MD5");
    if (action == "hash-sha1") return calculateHashes(paths, "SHA-1");
    if (action == "hash-sha256") return calculateHashes(paths, "SHA-256");
}

void FinderFileOperations::reportLater(std::string message) {
    onMain([message = std::move(message)] { showError(message); });
}

// --- Hidden flag ----------------------------------------------------------------

void FinderFileOperations::setHidden(bool hidden, const Paths& paths) {
    if (paths.empty()) return;
    worker_.async([hidden, paths] {
        std::vector<std::string> failed;
        for (const auto& item : paths) {
            auto ran = ProcessRunner::run(
                {"/usr/bin/chflags", {hidden ? "hidden" : "nohidden", item.string()}, {}, ProcessOutput::discarded});
            if (!ran || !ran->succeeded()) failed.push_back(item.filename().string());
        }
        const std::string changed = paths.front().parent_path().string();
        onMain([failed = std::move(failed), changed] {
            Workspace::shared().noteFileSystemChanged(changed);
            if (!failed.empty()) showError("以下项目处理失败：\n" + joined(failed));
        });
    });
}

void FinderFileOperations::unhideAll(const fs::path& folder) {
    worker_.async([this, folder] {
        auto entries = Files::contentsOfDirectory(folder);
        onMain([this, entries = std::move(entries)] {
            if (!entries) return showError(entries.error().message);
            if (!entries->empty()) setHidden(false, *entries);
        });
    });
}

// --- AirDrop --------------------------------------------------------------------

void FinderFileOperations::shareByAirDrop(const Paths& paths) {
    auto service = SharingService::named(SharingService::sendViaAirDrop);
    if (paths.empty() || !service) return showError("当前系统无法使用隔空投送。");
    Application::shared().activate(true);
    service->perform(fileURLs(paths));
}

// --- Hashes ---------------------------------------------------------------------

void FinderFileOperations::calculateHashes(const Paths& paths, std::string_view algorithmName) {
    Paths files;
    for (const auto& path : paths) {
        if (Files::kindOf(path) == Files::FileKind::regular) files.push_back(path);
    }
    if (files.empty()) return showError("请选择文件后再计算哈希值。");
    worker_.async([files = std::move(files), algorithm = std::string(algorithmName)] {
        std::vector<std::string> lines;
        for (const auto& file : files) {
            auto digest = digestOf(file, algorithm);
            if (!digest) continue;
            lines.push_back(files.size() == 1 ? *digest : *digest + "  " + file.filename().string());
        }
        onMain([lines = std::move(lines), algorithm] {
            if (lines.empty()) return showError("哈希值计算失败。");
            const auto text = joined(lines);
            auto& pasteboard = Pasteboard::general();
            pasteboard.clearContents();
            pasteboard.setString(text);
            auto alert = Alert::make();
            alert->alertStyle = AlertStyle::warning;
            alert->messageText = "已复制 " + algorithm + " 哈希值";
            alert->informativeText = text;
            alert->addButton("好");
            Application::shared().activate(true);
            alert->runModal();
        });
    });
}

// --- Copy to, move to -----------------------------------------------------------

void FinderFileOperations::chooseDestination(std::string_view title, const Paths& paths, bool move) {
    if (paths.empty()) return;
    auto panel = OpenPanel::make();
    panel->title = std::string(title);
    // The panel names what it acts on, so a request from elsewhere cannot
    // act on items the person did not see.
    panel->message = std::string(move ? "选择文件要移动到的文件夹" : "选择文件要复制到的文件夹") + "\n\n" +
                     FinderAlerts::targetList(pathTexts(paths));
    panel->prompt = std::string(title);
    panel->canChooseDirectories = true;
    panel->canChooseFiles = false;
    panel->allowsMultipleSelection = false;
    Application::shared().activate(true);
    panel->begin([this, panel, paths, move](ModalResponse response) {
        const auto url = panel->url();
        if (response == ModalResponses::ok && url) transfer(paths, *url, move);
    });
}

void FinderFileOperations::transfer(const Paths& paths, const fs::path& destination, bool move) {
    worker_.async([this, paths, destination, move] {
        const auto plan = FinderTransferPlan::transfer(paths, destination);
        if (!plan.nested.empty()) {
            return reportLater("不能把文件夹放进它自身或它里面的文件夹，未执行操作：\n" + joined(plan.nested));
        }
        if (!plan.clashes.empty()) return reportLater("目标位置已有同名项目，未执行操作：\n" + joined(plan.clashes));
        if (auto done = plan.perform(!move); !done) return reportLater(done.error().message);
        std::vector<fs::path> targets;
        for (const auto& step : plan.moves) targets.push_back(step.target);
        onMain([urls = fileURLs(targets)] { Workspace::shared().activateFileViewerSelecting(urls); });
    });
}

// --- Dissolve -------------------------------------------------------------------

void FinderFileOperations::dissolveFolders(const Paths& paths) {
    Paths folders;
    for (const auto& path : paths) {
        if (Files::kindOf(path) == Files::FileKind::directory) folders.push_back(path);
    }
    if (folders.empty()) return showError("请选择至少一个文件夹。");

    auto alert = Alert::make();
    alert->alertStyle = AlertStyle::warning;
    alert->messageText = "解散所选文件夹？";
    alert->informativeText = "文件夹内的项目会移到上一级；确认没有重名后，空文件夹会放入废纸篓。\n\n" +
                             FinderAlerts::targetList(pathTexts(folders));
    alert->addButton("解散文件夹");
    alert->addButton("取消");
    Application::shared().activate(true);
    if (alert->runModal() != ModalResponses::alertFirstButton) return;

    worker_.async([this, folders] {
        auto plan = FinderTransferPlan::dissolve(folders);
        if (!plan) return reportLater(plan.error().message);
        if (!plan->nested.empty()) return reportLater("所选文件夹相互包含，未执行解散：\n" + joined(plan->nested));
        if (!plan->clashes.empty()) return reportLater("上一级存在同名项目，未执行解散：\n" + joined(plan->clashes));
        if (auto done = plan->perform(false); !done) return reportLater(done.error().message);
        onMain([urls = fileURLs(folders)] {
            Workspace::shared().recycleURLs(urls, [](auto, std::optional<Error> error) {
                if (error) showError(error->message);
            });
        });
    });
}

}  // namespace tallowmere
