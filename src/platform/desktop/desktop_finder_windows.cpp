// What a press does in one of the simulated Finder's windows.
#include <algorithm>

#include "platform/desktop/desktop.h"
#include "platform/desktop/finder_window_layout.h"
#include "platform/system/files.h"

namespace tallowmere::platform {

namespace {

Url fileUrlOf(const std::filesystem::path& path) {
    bool directory = false;
    Files::fileExists(path, &directory);
    return Url::fileUrl(path.string(), directory);
}

}  // namespace

void Desktop::finderWindowPressed(SimulatedWindow& window, const Event& event, AXPoint point) {
    auto layout = FinderWindowLayout::of(window);
    if (!layout) return;
    const auto hit = layout->hitTest(point);
    const auto held = event.modifierFlags.deviceIndependent().rawValue;
    // Control with the primary button is the one-button mouse's secondary click.
    const bool secondary = event.type == EventType::rightMouseDown ||
                           (event.type == EventType::leftMouseDown && (held & ModifierFlags::control) != 0);
    auto selection = finder_.selection();
    const bool selected = std::find(selection.begin(), selection.end(), hit.target) != selection.end();
    FinderSyncMenuKind kind = FinderSyncMenuKind::toolbarItemMenu;
    std::optional<std::filesystem::path> targeted = layout->folder();
    using Part = FinderWindowLayout::Hit::Part;
    switch (hit.part) {
        case Part::none:
            return;
        case Part::item:
            if (!secondary && (held & ModifierFlags::command) != 0) {
                if (selected) {
                    std::erase(selection, hit.target);
                } else {
                    selection.push_back(hit.target);
                }
            } else if (!selected || !secondary) {
                // A secondary click on an unselected item selects only it, as a
                // primary click does; on a selected one it keeps the whole selection.
                selection = {hit.target};
            }
            finder_.setSelection(selection);
            if (!secondary) return;
            kind = FinderSyncMenuKind::contextualMenuForItems;
            break;
        case Part::background:
            selection.clear();
            finder_.setSelection({});
            if (!secondary) return;
            kind = FinderSyncMenuKind::contextualMenuForContainer;
            break;
        case Part::sidebarEntry:
            if (!secondary) {
                window.setDocument(hit.target.string());
                window.setTitle(hit.target.filename().empty() ? hit.target.string() : hit.target.filename().string());
                finder_.setSelection({});
                if (auto finder = window.application()) updateFinderFrontWindow(*finder);
                return;
            }
            kind = FinderSyncMenuKind::contextualMenuForSidebar;
            selection.clear();
            targeted = hit.target;
            break;
        case Part::toolbarButton:
            kind = FinderSyncMenuKind::toolbarItemMenu;
            break;
    }
    std::vector<Url> selectedURLs;
    for (const auto& item : selection) selectedURLs.push_back(fileUrlOf(item));
    finderSync_.showExtensionMenu(kind, event.location, layout->folder(), std::move(selectedURLs),
                                  targeted ? std::optional<Url>(fileUrlOf(*targeted)) : std::nullopt);
}

}  // namespace tallowmere::platform
