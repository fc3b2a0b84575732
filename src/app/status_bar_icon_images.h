#pragma once

#include <optional>
#include <string_view>

#include "app/status_bar_icon_preference.h"
#include "platform/gfx/color.h"
#include "platform/gfx/image.h"

namespace tallowmere {

// The main status item's pictures, one per icon style: 22 × 22 points,
// drawn afresh at whatever scale shows them, and never missing (a picture
// the bundle lacks falls back to the colour style). Nothing is cached.
namespace StatusBarIconImages {

inline constexpr platform::Size menuBarSize{22, 22};

// The picture of `style` for the menu bar.
platform::Image statusBarIconImage(StatusBarIconPreference::Style style);
// The same picture unprocessed at its own size, for the settings preview.
platform::Image statusBarIconLargePreviewImage(StatusBarIconPreference::Style style);

// The program's icon in a circle.
platform::Image makeColorStatusBarIcon();
// Hard pixel edges at any scale, in a rounded square.
platform::Image makePixelStatusBarIcon();
platform::Image makeCartoonInkpawStatusBarIcon();
platform::Image makeGentleInkpawStatusBarIcon();
// The dark lines of a picture as a shape: a template image, or filled with
// `tintColor` when not a template. None when the picture cannot be read.
std::optional<platform::Image> makeInkStatusBarIcon(std::string_view resourceName, bool isTemplate, bool pixelated,
                                                    const platform::Color& tintColor);

// The program's own icon.
platform::Image applicationIcon();

}  // namespace StatusBarIconImages

}  // namespace tallowmere
