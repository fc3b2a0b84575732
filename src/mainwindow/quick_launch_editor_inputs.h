#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "quicklaunch/website_icon_style.h"

namespace tallowmere {

// What the website and information dialogs make of their inputs before the
// store sees them.

// The browser style of a segment of the style control, in the order edge,
// chrome, firefox, globe: no selection counts as the first, anything past
// the last as globe.
WebsiteIconStyle websiteIconStyleAtSegment(std::optional<int> segment);

// The existing file or folder an address typed into the add-website dialog
// names: a file URL's path, or an absolute path ("~" standing for the home
// folder). A relative text such as "docs" names no local item, whatever
// the working folder holds: it is left to the web-address rules.
std::optional<std::filesystem::path> existingLocalItem(std::string_view address);

}  // namespace tallowmere
