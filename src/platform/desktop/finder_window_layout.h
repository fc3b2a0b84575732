#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <vector>

#include "platform/gfx/geometry.h"

namespace tallowmere::platform {

class SimulatedWindow;

// Where things are in a Finder window (Accessibility space): the extension's
// toolbar button at the right of the title bar, the sidebar of favourite
// folders down the left, and the folder's items, one row each, in the rest.
// Made afresh from the window and the disk whenever it is needed, so it
// always shows what the folder holds now.
class FinderWindowLayout {
public:
    static constexpr double sidebarWidth = 150;
    static constexpr double rowHeight = 22;
    static constexpr double toolbarButtonWidth = 32;
    static constexpr double toolbarButtonHeight = 22;

    // None for a window that shows no folder.
    static std::optional<FinderWindowLayout> of(const SimulatedWindow& window);

    const std::filesystem::path& folder() const { return folder_; }
    const std::vector<std::filesystem::path>& items() const { return items_; }
    const std::vector<std::filesystem::path>& sidebarFolders() const { return sidebarFolders_; }

    AXRect toolbarButtonFrame() const;
    AXRect sidebarFrame() const;
    AXRect sidebarRowFrame(std::size_t index) const;
    AXRect itemsFrame() const;
    AXRect itemRowFrame(std::size_t index) const;

    // What a click at `point` lands on.
    struct Hit {
        enum class Part { none, toolbarButton, sidebarEntry, item, background };
        Part part = Part::none;
        std::filesystem::path target;  // the entry's folder or the item
    };
    Hit hitTest(AXPoint point) const;

    // The favourite folders the sidebar lists: home, Desktop, Documents and
    // Downloads, those that exist.
    static std::vector<std::filesystem::path> favouriteFolders();

private:
    FinderWindowLayout(AXRect frame, double titleBarHeight, std::filesystem::path folder);

    AXRect frame_;
    double titleBarHeight_;
    std::filesystem::path folder_;
    std::vector<std::filesystem::path> items_;
    std::vector<std::filesystem::path> sidebarFolders_;
};

}  // namespace tallowmere::platform
