#pragma once

#include <optional>
#include <string_view>

#include "platform/gfx/attributed_string.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/font.h"
#include "platform/gfx/image.h"
#include "platform/ui/control.h"

namespace tallowmere::platform {

// How an image is fitted into the box of an image view or a button.
enum class ImageScaling { proportionallyDown, axesIndependently, none, proportionallyUpOrDown };

// Drawing and measuring shared by the controls: each control draws itself
// in a plain, recognisable way (a bezel, a box, a track) with these.
namespace ControlDrawing {

Size measure(const AttributedString& text, std::optional<double> wrapWidth = std::nullopt);
Size measure(std::string_view text, const Font& font);
// The first `lines` lines only (0: all), each as tall as the faces drawing it.
Size measureLines(const AttributedString& text, std::optional<double> wrapWidth, int lines);
double lineHeight(const Font& font);

// `text` with `defaults` filled in where a run sets no font or colour; when
// `dimmed`, every colour faded as a disabled control shows it.
AttributedString withDefaults(const AttributedString& text, const TextAttributes& defaults, bool dimmed);

// `text` in `box` of a view: aligned horizontally by `alignment`, centred
// vertically unless `fromTop`, wrapped to the box width when `wrap`.
void drawText(Canvas& canvas, const AttributedString& text, Rect box, TextAlignment alignment, bool flipped,
              bool wrap = false, bool fromTop = false);

// Where an image of `imageSize` goes in `box` with `scaling`, centred.
Rect imageRect(Size imageSize, Rect box, ImageScaling scaling);
// Draws `image` there; a template image takes `tint` (the label colour when none).
void drawImage(Canvas& canvas, const Image& image, Rect box, ImageScaling scaling, std::optional<Color> tint,
               double opacity = 1);

// The rounded bezel of a push-style control in `rect`.
void drawBezel(Canvas& canvas, Rect rect, double radius, bool highlighted, bool enabled,
               std::optional<Color> fill = std::nullopt);

// Text cut to `width` with an ellipsis at the end (by graphemes).
std::string truncatedToWidth(std::string_view text, const Font& font, double width);

}  // namespace ControlDrawing

}  // namespace tallowmere::platform
