#pragma once

#include <string_view>

#include "platform/gfx/image.h"
#include "quicklaunch/quick_launch_entry.h"
#include "quicklaunch/website_icon_style.h"

namespace tallowmere {

// The pictures of quick-launch tiles. Each call builds a new image: icons
// are fetched and cropped afresh, so a reinstalled application shows its
// new icon the next time a tile is built.

// The 20-point picture of a style: the browser's own icon when it is
// installed, else its symbol; the globe for `globe`.
platform::Image websiteIconStyleImage(WebsiteIconStyle style);
// The 29-point picture of a style, as a website tile shows it.
platform::Image quickLaunchWebsiteIcon(WebsiteIconStyle style);
// The 29-point picture of an entry.
platform::Image quickLaunchIcon(const QuickLaunchEntry& entry);
// A 29 × 29 point image drawing `emoji` one point above its centre, drawn
// afresh at whatever scale it is shown.
platform::Image quickLaunchWebsiteEmojiIcon(std::string_view emoji);

// Application icons carry wide transparent borders of differing widths;
// cropping to the visible pixels plus a 2-pixel margin makes icons of
// different sources look the same size. Alpha 8 or less counts as
// transparent. An image under 2 pixels either way, without visible pixels
// or without pixels at all comes back unchanged.
platform::Image trimTransparentPadding(const platform::Image& image);

}  // namespace tallowmere
