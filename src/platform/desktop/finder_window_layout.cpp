#include "platform/desktop/finder_window_layout.h"

#include "platform/base/url.h"
#include "platform/desktop/simulated_window.h"
#include "platform/system/files.h"
#include "platform/system/paths.h"

namespace tallowmere::platform {

namespace {

// The sidebar's first row sits a little below the title bar, as a list's
// first entry does under its heading.
constexpr double sidebarTopMargin = 8;

bool isFolder(const std::filesystem::path& path) {
    bool directory = false;
    return Files::fileExists(path, &directory) && directory;
}

}  // namespace

std::optional<FinderWindowLayout> FinderWindowLayout::of(const SimulatedWindow& window) {
    if (!window.document()) return std::nullopt;
    const std::string& document = *window.document();
    std::optional<std::string> path;
    if (document.starts_with("/")) {
        path = document;
    } else if (auto url = Url::parse(document)) {
        path = url->fileSystemPath();
    }
    if (!path || !isFolder(*path)) return std::nullopt;
    return FinderWindowLayout(window.axFrame(), window.titleBarFrame().height(),
                              std::filesystem::path(*path).lexically_normal());
}

FinderWindowLayout::FinderWindowLayout(AXRect frame, double titleBarHeight, std::filesystem::path folder)
    : frame_(frame),
      titleBarHeight_(titleBarHeight),
      folder_(std::move(folder)),
      items_(Files::shownItemsOfFolder(folder_)),
      sidebarFolders_(favouriteFolders()) {}

std::vector<std::filesystem::path> FinderWindowLayout::favouriteFolders() {
    std::vector<std::filesystem::path> folders;
    const auto home = Paths::home();
    for (const auto& folder : {home, home / "Desktop", home / "Documents", home / "Downloads"}) {
        if (isFolder(folder)) folders.push_back(folder);
    }
    return folders;
}

AXRect FinderWindowLayout::toolbarButtonFrame() const {
    const double inset = (titleBarHeight_ - toolbarButtonHeight) / 2;
    return {frame_.maxX() - toolbarButtonWidth - 12, frame_.minY() + inset, toolbarButtonWidth,
            toolbarButtonHeight};
}

AXRect FinderWindowLayout::sidebarFrame() const {
    return {frame_.minX(), frame_.minY() + titleBarHeight_, std::min(sidebarWidth, frame_.width()),
            std::max(0.0, frame_.height() - titleBarHeight_)};
}

AXRect FinderWindowLayout::sidebarRowFrame(std::size_t index) const {
    const AXRect sidebar = sidebarFrame();
    return {sidebar.minX(), sidebar.minY() + sidebarTopMargin + rowHeight * static_cast<double>(index),
            sidebar.width(), rowHeight};
}

AXRect FinderWindowLayout::itemsFrame() const {
    const AXRect sidebar = sidebarFrame();
    return {sidebar.maxX(), sidebar.minY(), std::max(0.0, frame_.maxX() - sidebar.maxX()), sidebar.height()};
}

AXRect FinderWindowLayout::itemRowFrame(std::size_t index) const {
    const AXRect list = itemsFrame();
    return {list.minX(), list.minY() + rowHeight * static_cast<double>(index), list.width(), rowHeight};
}

FinderWindowLayout::Hit FinderWindowLayout::hitTest(AXPoint point) const {
    if (toolbarButtonFrame().contains(point)) return {Hit::Part::toolbarButton, folder_};
    if (sidebarFrame().contains(point)) {
        for (std::size_t i = 0; i < sidebarFolders_.size(); ++i) {
            if (sidebarRowFrame(i).contains(point)) return {Hit::Part::sidebarEntry, sidebarFolders_[i]};
        }
        return {};
    }
    const AXRect list = itemsFrame();
    if (!list.contains(point)) return {};
    for (std::size_t i = 0; i < items_.size(); ++i) {
        const AXRect row = itemRowFrame(i);
        if (row.minY() >= list.maxY()) break;
        if (row.contains(point)) return {Hit::Part::item, items_[i]};
    }
    return {Hit::Part::background, folder_};
}

}  // namespace tallowmere::platform
