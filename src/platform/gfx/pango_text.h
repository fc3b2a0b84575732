#pragma once

// Turning fonts and attributed text into pango objects, for the pango text
// measurer and the cairo canvas (not for use outside the drawing layer).

#include <pango/pango.h>

#include <memory>
#include <optional>
#include <vector>

#include "platform/gfx/appearance.h"
#include "platform/gfx/attributed_string.h"
#include "platform/gfx/font.h"

namespace tallowmere::platform::pango_text {

struct GObjectRelease {
    void operator()(void* object) const { g_object_unref(object); }
};
template <class T>
using GObjectPtr = std::unique_ptr<T, GObjectRelease>;

struct FontDescriptionRelease {
    void operator()(PangoFontDescription* description) const { pango_font_description_free(description); }
};
using FontDescriptionPtr = std::unique_ptr<PangoFontDescription, FontDescriptionRelease>;

// Sizes are absolute: one pango unit of size is one user-space point.
FontDescriptionPtr fontDescription(const Font& font);

// A layout of `text` with each run's font, colours (resolved against
// `appearance`; absent ones in the label colour), underline, strikethrough,
// kern and baseline offset; wrapped at words (or characters within a word
// too wide) when `wrapWidth` is given.
GObjectPtr<PangoLayout> makeLayout(PangoContext* context, const AttributedString& text,
                                   std::optional<double> wrapWidth, Appearance appearance);

// Where each picture of `text` (laid out in `layout`) stands, in the layout's
// own space: points from its left, y down from its top.
struct PlacedAttachment {
    std::shared_ptr<const TextAttachment> attachment;
    Rect rect;
};
std::vector<PlacedAttachment> placeAttachments(PangoLayout* layout, const AttributedString& text);

}  // namespace tallowmere::platform::pango_text
