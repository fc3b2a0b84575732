#include "platform/desktop/workspace.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "platform/desktop/desktop.h"
#include "platform/desktop/file_icon_painter.h"
#include "platform/runtime/app_context.h"
#include "platform/system/trash.h"

namespace tallowmere::platform {

namespace {

std::string lowercased(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    return text;
}

// "%20" and friends decoded; a malformed escape leaves the text as it is.
std::optional<std::string> percentDecoded(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size() || !std::isxdigit(static_cast<unsigned char>(text[i + 1])) ||
            !std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
            return std::nullopt;
        }
        out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
        i += 2;
    }
    return out;
}

// The scheme of a URL ("https"), or none when the text has no valid one.
std::optional<std::string> schemeOf(const std::string& url) {
    const auto colon = url.find(':');
    if (colon == std::string::npos || colon == 0 ||
        !std::isalpha(static_cast<unsigned char>(url[0]))) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < colon; ++i) {
        const unsigned char c = static_cast<unsigned char>(url[i]);
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') return std::nullopt;
    }
    return lowercased(url.substr(0, colon));
}

// The local path of a file URL or an absolute path.
std::optional<std::string> filePathOf(const std::string& url) {
    if (url.rfind('/', 0) == 0) return url;
    if (schemeOf(url) != "file") return std::nullopt;
    std::string rest = url.substr(5);
    if (rest.rfind("//", 0) == 0) {
        rest = rest.substr(2);
        const auto slash = rest.find('/');
        const std::string host = slash == std::string::npos ? rest : rest.substr(0, slash);
        if (!host.empty() && host != "localhost") return std::nullopt;
        rest = slash == std::string::npos ? "/" : rest.substr(slash);
    }
    auto decoded = percentDecoded(rest);
    if (!decoded || decoded->empty() || decoded->front() != '/') return std::nullopt;
    return decoded;
}

std::string extensionOf(const std::string& path) {
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
    const auto slash = trimmed.find_last_of('/');
    const std::string name = slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
    const auto dot = name.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? std::string() : lowercased(name.substr(dot + 1));
}

}  // namespace

Workspace& Workspace::shared() {
    return Desktop::shared().workspace();
}

std::vector<std::shared_ptr<RunningApplication>> Workspace::runningApplications() const {
    return desktop_.runningApplications();
}

std::shared_ptr<RunningApplication> Workspace::frontmostApplication() const {
    auto app = desktop_.frontmostApplication();
    return app ? app->runningApplication() : nullptr;
}

std::shared_ptr<RunningApplication> Workspace::runningApplication(pid_t pid) const {
    auto app = desktop_.application(pid);
    return app ? app->runningApplication() : nullptr;
}

std::shared_ptr<SimulatedApplication> Workspace::applicationToOpen(const std::string& url) const {
    if (auto path = filePathOf(url)) {
        const std::string extension = extensionOf(*path);
        if (extension == "app") {
            std::string bundle = *path;
            while (bundle.size() > 1 && bundle.back() == '/') bundle.pop_back();
            return desktop_.applicationAtPath(bundle);
        }
        return desktop_.applicationForExtension(extension);
    }
    auto scheme = schemeOf(url);
    return scheme ? desktop_.applicationForScheme(*scheme) : nullptr;
}

bool Workspace::openURL(const std::string& url) {
    openedURLs_.push_back(url);
    auto app = applicationToOpen(url);
    if (!app) return false;
    auto path = filePathOf(url);
    std::error_code error;
    if (path && !std::filesystem::exists(*path, error)) return false;
    if (path && extensionOf(*path) == "app") {
        openApplication(app->bundlePath(), {});
        return true;
    }
    std::weak_ptr<SimulatedApplication> weak = app;
    app->launch([weak, url](const std::shared_ptr<RunningApplication>&) {
        auto target = weak.lock();
        if (!target || !target->isRunning()) return;
        target->openURL(url);
        if (auto desktop = target->owningDesktop()) desktop->activate(*target);
    });
    return true;
}

void Workspace::openApplication(const std::string& bundlePath, OpenConfiguration configuration,
                                OpenCompletion completion) {
    openURLs({}, bundlePath, std::move(configuration), std::move(completion));
}

void Workspace::openURLs(std::vector<std::string> urls, const std::string& bundlePath,
                         OpenConfiguration configuration, OpenCompletion completion) {
    openedApplications_.push_back(bundlePath);
    openRequests_.push_back({urls, bundlePath, configuration});
    auto app = desktop_.applicationAtPath(bundlePath);
    if (!app) {
        if (completion) {
            desktop_.context().mainQueue().async([completion, bundlePath] {
                completion(Error{ErrorCode::notFound,
                                 "The application \"" + bundlePath + "\" could not be found."});
            });
        }
        return;
    }
    const bool wasRunning = app->isRunning();
    std::weak_ptr<SimulatedApplication> weak = app;
    app->launch(
        [weak, wasRunning, urls = std::move(urls), configuration = std::move(configuration),
         completion = std::move(completion)](const std::shared_ptr<RunningApplication>& running) {
            auto target = weak.lock();
            if (!target || !target->isRunning()) {
                if (completion)
                    completion(
                        Error{ErrorCode::cancelled, "The application quit while it was opened."});
                return;
            }
            // Arguments reach a process only when it starts.
            if (!wasRunning) target->recordLaunchArguments(configuration.arguments);
            if (configuration.addsToRecentItems) {
                if (auto desktop = target->owningDesktop()) {
                    auto& recent = desktop->workspace().recentItems_;
                    recent.insert(recent.end(), urls.begin(), urls.end());
                }
            }
            for (const auto& url : urls) target->openURL(url);
            if (configuration.hides) {
                target->setHidden(true);
            } else if (configuration.activates) {
                if (auto desktop = target->owningDesktop()) desktop->activate(*target);
            }
            if (completion) completion(running);
        });
}

std::optional<std::string> Workspace::urlForApplication(const std::string& bundleIdentifier) const {
    auto app = desktop_.application(bundleIdentifier);
    if (!app) return std::nullopt;
    return app->bundlePath();
}

std::optional<std::string> Workspace::urlForApplicationToOpen(const std::string& url) const {
    auto app = applicationToOpen(url);
    if (!app) return std::nullopt;
    return app->bundlePath();
}

Image Workspace::iconForFile(const std::string& path) const {
    std::string bundle = path;
    while (bundle.size() > 1 && bundle.back() == '/') bundle.pop_back();
    if (auto app = desktop_.applicationAtPath(bundle); app && app->applicationSpec().icon) {
        return *app->applicationSpec().icon;
    }
    return FileIconPainter::icon(FileIconPainter::kindOf(path), extensionOf(path));
}

bool Workspace::activateFileViewerSelecting(std::vector<std::string> fileURLs) {
    if (fileURLs.empty()) return false;
    std::vector<std::filesystem::path> selection;
    for (const auto& url : fileURLs) {
        auto path = filePathOf(url);
        if (!path) continue;
        std::filesystem::path item(*path);
        if (!item.has_filename() && item != item.root_path()) item = item.parent_path();
        selection.push_back(std::move(item));
    }
    if (!selection.empty()) {
        desktop_.finder().setFrontWindowTarget(selection.front().parent_path());
        desktop_.finder().setSelection(std::move(selection));
    }
    fileViewerSelections_.push_back(std::move(fileURLs));
    return true;
}

void Workspace::recycleURLs(std::vector<std::string> urls, RecycleCompletion completion) {
    std::map<std::string, std::string> moved;
    std::optional<Error> firstError;
    const Date now = desktop_.context().clock().now();
    for (const auto& url : urls) {
        const auto path = filePathOf(url);
        auto trashed = path ? Trash::moveToTrash(*path, now)
                            : Result<std::filesystem::path>(Error{ErrorCode::invalidArgument, "“" + url + "” is not a file.", 0});
        if (trashed) {
            moved[url] = trashed->string();
        } else if (!firstError) {
            firstError = trashed.error();
        }
    }
    if (!completion) return;
    desktop_.context().mainQueue().async(
        [completion = std::move(completion), moved = std::move(moved), firstError = std::move(firstError)] {
            completion(moved, firstError);
        });
}

void Workspace::noteFileSystemChanged(const std::string& path) {
    fileSystemChanges_.push_back(path);
}

}  // namespace tallowmere::platform
