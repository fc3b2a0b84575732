#include "windows/layout_store.h"

#include <algorithm>
#include <set>

#include "app/app_error.h"
#include "localization/interface_language.h"
#include "platform/base/format.h"
#include "platform/base/text.h"
#include "platform/desktop/desktop.h"
#include "platform/runtime/app_context.h"
#include "platform/system/files.h"
#include "platform/system/paths.h"
#include "platform/system/user_defaults.h"
#include "platform/ui/desktop_link.h"
#include "windows/accessibility.h"
#include "windows/layout_restore.h"
#include "windows/screen_geometry.h"
#include "windows/window_ordering.h"

namespace tallowmere {

namespace fs = std::filesystem;
using platform::Error;
using platform::ErrorCode;
using platform::Result;

namespace {

constexpr const char* folderName = "Perrowgate";
constexpr const char* fileName = "layouts.json";

// Smaller windows are palettes, tooltips and the like, not worth restoring.
constexpr double minimumCapturedWidth = 80;
constexpr double minimumCapturedHeight = 50;

std::optional<WindowSnapshot> snapshotOf(const platform::AXElement& window, std::int64_t windowIndex,
                                         const platform::RunningApplication& app, const std::string& bundleIdentifier,
                                         const std::vector<WindowOrderEntry>& order, std::set<int>& usedZIndexes) {
    auto frame = Accessibility::frame(window);
    if (!frame || !(frame->width() > minimumCapturedWidth) || !(frame->height() > minimumCapturedHeight))
        return std::nullopt;
    WindowSnapshot snapshot;
    snapshot.bundleIdentifier = bundleIdentifier;
    snapshot.appName = app.localizedName().value_or(bundleIdentifier);
    snapshot.title = Accessibility::title(window);
    snapshot.windowIndex = windowIndex;
    snapshot.frame = StoredRect::from(*frame);
    snapshot.minimized = Accessibility::isMinimized(window);
    if (auto document = Accessibility::documentURL(window)) snapshot.documentURL = document->string();

    // Any free entry of the process is taken, however poor its score; ties
    // go to the entry nearer the front.
    const WindowOrderEntry* best = nullptr;
    double bestScore = 0;
    for (const auto& entry : order) {
        if (entry.pid != app.processIdentifier() || usedZIndexes.count(entry.zIndex)) continue;
        const double score = WindowOrdering::matchScore(entry, snapshot.title, *frame);
        if (!best || score < bestScore) {
            best = &entry;
            bestScore = score;
        }
    }
    if (best) {
        usedZIndexes.insert(best->zIndex);
        snapshot.zIndex = best->zIndex;
    }

    if (auto screen = ScreenGeometry::screenContainingAccessibilityFrame(*frame)) {
        if (screen->displayID() != 0) snapshot.screenIdentifier = screen->displayID();
        snapshot.screenFrame = StoredRect::from(ScreenGeometry::toAccessibility(screen->visibleFrame()));
    }
    return snapshot;
}

}  // namespace

LayoutStore::LayoutStore() { load(); }

void LayoutStore::load() {
    const fs::path folder = platform::Paths::applicationSupport() / folderName;
    (void)platform::Files::createDirectories(folder);  // a failure shows at the first write
    fileURL_ = folder / fileName;

    auto bytes = platform::Files::read(fileURL_);
    if (!bytes) {
        if (bytes.error().code == ErrorCode::notFound) return;
    } else if (auto decoded = WorkspaceLayoutCoding::decode(std::string_view(
                   reinterpret_cast<const char*>(bytes->data()), bytes->size()))) {
        layouts = std::move(*decoded);
        std::stable_sort(layouts.begin(), layouts.end(),
                         [](const WorkspaceLayout& a, const WorkspaceLayout& b) { return a.createdAt > b.createdAt; });
        return;
    }
    // The list starts empty, and the next write would replace the file: the
    // saved layouts in it are moved aside first so the person can get them back.
    const platform::Date now = platform::AppContext::current().clock().now();
    if (!platform::Files::keepAside(fileURL_, now)) fileIsProtected_ = true;
}

Result<void> LayoutStore::persist() {
    if (fileIsProtected_) {
        return Error{ErrorCode::permissionDenied,
                     "The saved layouts \u201C" + fileURL_.filename().string() +
                         "\u201D could not be read or kept aside, so they are not written over.",
                     0};
    }
    auto json = WorkspaceLayoutCoding::encode(layouts);
    if (!json) return json.error();
    return platform::Files::writeAtomically(fileURL_, *json);
}

Result<void> LayoutStore::capture(std::string_view name) {
    auto& desktop = platform::DesktopLink::desktop();
    if (!desktop.accessibility().isProcessTrusted()) return makeError(AppError::accessibilityRequired);
    const pid_t ownPID = desktop.currentProcessIdentifier();
    const auto order = WindowOrdering::onScreenOrder();
    std::set<int> usedZIndexes;

    std::vector<WindowSnapshot> windows;
    for (const auto& app : desktop.workspace().runningApplications()) {
        if (app->activationPolicy() != platform::ActivationPolicy::regular || app->processIdentifier() == ownPID ||
            app->isTerminated())
            continue;
        const auto bundleIdentifier = app->bundleIdentifier();
        if (!bundleIdentifier) continue;
        const auto live = Accessibility::windows(app->processIdentifier());
        for (std::size_t j = 0; j < live.size(); ++j) {
            if (auto snapshot = snapshotOf(live[j], static_cast<std::int64_t>(j), *app, *bundleIdentifier, order,
                                           usedZIndexes))
                windows.push_back(std::move(*snapshot));
        }
    }
    if (windows.empty()) return makeError(AppError::noWindows);

    std::string trimmed = platform::Text::trimmingWhitespaceAndNewlines(std::string(name));
    if (trimmed.empty()) {
        trimmed = platform::formatTemplate(L("工作区 %d"), static_cast<int>(layouts.size() + 1));
    }
    WorkspaceLayout layout{platform::Uuid::random(), std::move(trimmed),
                           platform::AppContext::current().clock().now(), std::move(windows)};
    layouts.insert(layouts.begin(), std::move(layout));
    return persist();
}

Result<void> LayoutStore::deleteLayout(const platform::Uuid& id) {
    std::erase_if(layouts, [&](const WorkspaceLayout& layout) { return layout.id == id; });
    return persist();
}

void LayoutStore::restore(const platform::Uuid& id, RestoreCompletion completion) {
    LayoutRestore::start(weak_from_this(), id, std::move(completion));
}

bool WorkspaceMemoryPreference::isEnabled() {
    auto stored = platform::UserDefaults::standard().object("workspaceMemoryEnabled");
    const auto flag = stored ? stored->asBoolean() : std::nullopt;
    return flag.value_or(true);
}

}  // namespace tallowmere
