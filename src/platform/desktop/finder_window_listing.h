#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <vector>

#include "platform/gfx/geometry.h"

namespace tallowmere::platform {

class SimulatedWindow;

// What a Finder window shows of its folder (its document): the items a
// person sees there (dot files hidden), by name ignoring case, one row each
// below the title bar. Read afresh each time, so a file made meanwhile is
// there; rows past the window's bottom are not listed.
namespace FinderWindowListing {

inline constexpr double rowHeight = 20;
inline constexpr double topInset = 6;
inline constexpr double sideInset = 10;

// The folder a window of Finder shows; none for other windows, or when it
// is not a folder.
std::optional<std::filesystem::path> folderOf(const SimulatedWindow& window);
// The items shown, top to bottom.
std::vector<std::filesystem::path> items(const SimulatedWindow& window);
// The row of the `index`th item.
AXRect rowFrame(const SimulatedWindow& window, std::size_t index);
// The item whose row holds `point`.
std::optional<std::filesystem::path> itemAt(const SimulatedWindow& window, AXPoint point);

}  // namespace FinderWindowListing

}  // namespace tallowmere::platform
