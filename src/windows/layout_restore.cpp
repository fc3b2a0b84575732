#include "windows/layout_restore.h"

#include <algorithm>
#include <set>

#include "app/app_error.h"
#include "platform/base/url.h"
#include "platform/desktop/desktop.h"
#include "platform/runtime/app_context.h"
#include "platform/ui/desktop_link.h"
#include "windows/accessibility.h"
#include "windows/layout_screen_mapping.h"

namespace tallowmere {

using platform::AXElement;
using platform::RunningApplication;
using platform::Url;

namespace {

platform::Desktop& desktop() { return platform::DesktopLink::desktop(); }

// Two documents are the same when their keys are: a file by its path with
// "." and ".." resolved, anything else by its whole text.
std::string documentKey(const Url& url) {
    if (url.isFileUrl()) return url.standardized().fileSystemPath().value_or(url.string());
    return url.string();
}

std::optional<std::string> documentKey(const std::optional<std::string>& text) {
    if (!text) return std::nullopt;
    auto url = Url::parse(*text);
    if (!url) return std::nullopt;
    return documentKey(*url);
}

std::optional<std::string> liveDocumentKey(const AXElement& window) {
    auto url = Accessibility::documentURL(window);
    return url ? std::optional(documentKey(*url)) : std::nullopt;
}

// A saved document is reopened only when it is an existing local file or a
// web address: the file may have been edited by hand, and any other scheme
// would hand an arbitrary command to whatever application claims it.
bool isSafeToOpen(const Url& url) {
    if (url.isFileUrl()) {
        auto path = url.fileSystemPath();
        std::error_code error;
        return path && std::filesystem::exists(*path, error);
    }
    std::string scheme = url.scheme();
    std::transform(scheme.begin(), scheme.end(), scheme.begin(), [](unsigned char c) { return std::tolower(c); });
    return (scheme == "http" || scheme == "https") && url.host();
}

std::shared_ptr<RunningApplication> runningApplication(const std::string& bundleIdentifier) {
    for (const auto& app : desktop().workspace().runningApplications()) {
        if (!app->isTerminated() && app->bundleIdentifier() == bundleIdentifier) return app;
    }
    return nullptr;
}

}  // namespace

void LayoutRestore::start(std::weak_ptr<LayoutStore> store, const platform::Uuid& id,
                          LayoutStore::RestoreCompletion completion) {
    auto respond = [&](platform::Result<int> result) {
        if (completion) completion(std::move(result));
    };
    if (!desktop().accessibility().isProcessTrusted()) return respond(makeError(AppError::accessibilityRequired));
    auto owner = store.lock();
    const auto& layouts = owner ? owner->layouts : std::vector<WorkspaceLayout>{};
    auto found = std::find_if(layouts.begin(), layouts.end(), [&](const WorkspaceLayout& l) { return l.id == id; });
    if (found == layouts.end()) return respond(makeError(AppError::layoutNotFound));

    auto restore = std::make_shared<LayoutRestore>(std::move(store), *found, std::move(completion));
    // Both run, whatever the first found: a layout may need an application
    // started and a document opened.
    const bool launched = restore->launchMissingApplications();
    const bool opened = restore->reopenDocuments();
    restore->after(launched || opened ? launchWait : settleWait, [](LayoutRestore& self) { self.placeWindows(); });
}

LayoutRestore::LayoutRestore(std::weak_ptr<LayoutStore> store, WorkspaceLayout layout,
                             LayoutStore::RestoreCompletion completion)
    : store_(std::move(store)), layout_(std::move(layout)), completion_(std::move(completion)) {}

void LayoutRestore::after(double seconds, std::function<void(LayoutRestore&)> step) {
    auto self = shared_from_this();
    platform::AppContext::current().mainQueue().asyncAfter(seconds, [self, step = std::move(step)] { step(*self); });
}

// --- Phase 1 ----------------------------------------------------------------------

bool LayoutRestore::launchMissingApplications() {
    std::set<std::string> running;
    for (const auto& app : desktop().workspace().runningApplications()) {
        if (auto identifier = app->bundleIdentifier()) running.insert(*identifier);
    }
    bool launched = false;
    std::set<std::string> seen;
    for (const auto& window : layout_.windows) {
        const std::string& identifier = window.bundleIdentifier;
        if (!seen.insert(identifier).second || running.count(identifier)) continue;
        // Opening the application's document starts it.
        const bool hasDocument = std::any_of(layout_.windows.begin(), layout_.windows.end(), [&](const auto& w) {
            return w.bundleIdentifier == identifier && w.documentURL;
        });
        if (hasDocument) continue;
        auto location = desktop().workspace().urlForApplication(identifier);
        if (!location) continue;
        desktop().workspace().openApplication(*location, platform::OpenConfiguration{});
        launched = true;
    }
    return launched;
}

bool LayoutRestore::reopenDocuments() {
    bool opened = false;
    std::set<std::string> handled;
    for (const auto& window : layout_.windows) {
        if (!window.documentURL) continue;
        auto url = Url::parse(*window.documentURL);
        if (!url) continue;
        const std::string key = documentKey(*url);
        if (!handled.insert(key).second) continue;
        if (auto app = runningApplication(window.bundleIdentifier)) {
            const auto live = Accessibility::windows(app->processIdentifier());
            if (std::any_of(live.begin(), live.end(), [&](const AXElement& w) { return liveDocumentKey(w) == key; }))
                continue;
        }
        if (!isSafeToOpen(*url)) continue;
        if (desktop().workspace().openURL(url->string())) opened = true;
    }
    return opened;
}

// --- Phase 2 ----------------------------------------------------------------------

void LayoutRestore::placeWindows() {
    // Gone means the program is stopping; the caller still hears the end.
    if (!store_.lock()) return finish(makeError(AppError::layoutNotFound));
    restored_ = 0;
    std::vector<std::string> groups;
    for (const auto& window : layout_.windows) {
        if (std::find(groups.begin(), groups.end(), window.bundleIdentifier) == groups.end())
            groups.push_back(window.bundleIdentifier);
    }
    for (const auto& identifier : groups) placeGroup(identifier);

    // Windows without a saved stacking place first (later matches before
    // earlier ones), then from the back to the front: the saved frontmost
    // window is raised last and ends up in front.
    std::vector<std::pair<std::int64_t, Match>> keyed;
    for (std::size_t p = 0; p < matched_.size(); ++p) {
        if (matched_[p].saved.minimized) continue;
        keyed.emplace_back(matched_[p].saved.zIndex.value_or(static_cast<std::int64_t>(p) + 100000), matched_[p]);
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    for (auto& entry : keyed) raiseList_.push_back(std::move(entry.second));
    raiseWindow(0, 0);
}

void LayoutRestore::placeGroup(const std::string& bundleIdentifier) {
    // An application that has not started by now is skipped: waiting longer
    // would hold every other window back.
    auto app = runningApplication(bundleIdentifier);
    if (!app) return;
    const auto live = Accessibility::windows(app->processIdentifier());
    std::vector<bool> used(live.size(), false);
    auto firstFree = [&](const std::function<bool(const AXElement&)>& wanted) -> std::optional<std::size_t> {
        for (std::size_t j = 0; j < live.size(); ++j) {
            if (!used[j] && wanted(live[j])) return j;
        }
        return std::nullopt;
    };

    for (const auto& saved : layout_.windows) {
        if (saved.bundleIdentifier != bundleIdentifier) continue;
        std::optional<std::size_t> chosen;
        if (auto key = documentKey(saved.documentURL))
            chosen = firstFree([&](const AXElement& w) { return liveDocumentKey(w) == key; });
        if (!chosen && !saved.title.empty())
            chosen = firstFree([&](const AXElement& w) { return Accessibility::title(w) == saved.title; });
        if (!chosen && saved.windowIndex >= 0 && static_cast<std::uint64_t>(saved.windowIndex) < live.size() &&
            !used[static_cast<std::size_t>(saved.windowIndex)])
            chosen = static_cast<std::size_t>(saved.windowIndex);
        if (!chosen) chosen = firstFree([](const AXElement&) { return true; });
        if (!chosen) continue;
        used[*chosen] = true;
        place(saved, live[*chosen], app);
    }
}

void LayoutRestore::place(const WindowSnapshot& saved, const AXElement& window,
                          const std::shared_ptr<RunningApplication>& application) {
    const platform::AXRect target = LayoutScreenMapping::targetFrame(saved);
    // A minimised window cannot be moved: it comes back first, and goes
    // back to the Dock afterwards when it was saved there.
    if (Accessibility::isMinimized(window)) (void)Accessibility::setMinimized(false, window);
    (void)Accessibility::setFrame(target, window);
    (void)Accessibility::setMinimized(saved.minimized, window);

    // Applications that animate or clamp may undo the first placement; the
    // second one decides whether the window counts as restored.
    const bool minimized = saved.minimized;
    after(confirmationDelay, [window, target, minimized](LayoutRestore& self) {
        if (Accessibility::isMinimized(window)) (void)Accessibility::setMinimized(false, window);
        const bool placed = Accessibility::setFrame(target, window);
        const bool state = Accessibility::setMinimized(minimized, window);
        if (placed && state) ++self.restored_;
    });
    matched_.push_back({saved, window, application});
}

void LayoutRestore::raiseWindow(std::size_t index, int pass) {
    if (index < raiseList_.size()) {
        const Match& match = raiseList_[index];
        if (!match.window.performAction(platform::AXAction::raise)) {
            if (match.application) match.application->activate({.ignoringOtherApps = true});
            (void)match.window.performAction(platform::AXAction::raise);
        }
        after(raiseInterval, [index, pass](LayoutRestore& self) { self.raiseWindow(index + 1, pass); });
    } else if (pass == 0 && !raiseList_.empty()) {
        after(secondPassDelay, [](LayoutRestore& self) { self.raiseWindow(0, 1); });
    } else {
        after(completionDelay, [](LayoutRestore& self) { self.finish(self.restored_); });
    }
}

void LayoutRestore::finish(platform::Result<int> result) {
    if (finished_) return;
    finished_ = true;
    auto completion = std::move(completion_);
    completion_ = nullptr;
    if (completion) completion(std::move(result));
}

}  // namespace tallowmere
