#pragma once

#include <memory>
#include <optional>
#include <string_view>

#include "platform/gfx/attributed_string.h"
#include "platform/gfx/font.h"
#include "platform/gfx/geometry.h"

namespace tallowmere::platform {

// Vertical measures of one line of a font, in points.
struct LineMetrics {
    double ascent = 0;   // baseline to top
    double descent = 0;  // baseline to bottom, positive
    double leading = 0;  // extra space below
    double lineHeight() const { return ascent + descent + leading; }
    bool operator==(const LineMetrics&) const = default;
};

// Measures text as it will be drawn. Lines break at "\n"; with a wrap width a
// line also breaks after the last space that fits, or between graphemes when
// one word is wider than the width. Trailing spaces of a wrapped line do not
// count. An empty text measures one line high and zero wide.
//
// `shared()` is the deterministic measurer in a deterministic context (so
// test layouts do not depend on the machine's fonts) and the pango measurer in
// the program.
class TextMeasurer {
public:
    static TextMeasurer& shared();
    static std::shared_ptr<TextMeasurer> makeShared();

    virtual ~TextMeasurer() = default;

    virtual LineMetrics lineMetrics(const Font& font) const = 0;
    virtual Size measure(const AttributedString& text, std::optional<double> wrapWidth = std::nullopt) const = 0;

    Size measure(std::string_view text, const Font& font, std::optional<double> wrapWidth = std::nullopt) const;

    // The size of the first `lines` lines of `text` laid out as `measure`
    // lays it out (all of it when it has no more; `lines` 0 or less: all):
    // what a text shown in at most that many lines needs. Here every line is
    // as tall as the first run's font says; a measurer whose lines take the
    // height of the faces that draw them (a Chinese line in a Latin system
    // face is as tall as its Chinese fallback face) answers from its lines.
    virtual Size measureLines(const AttributedString& text, std::optional<double> wrapWidth, int lines) const;
};

}  // namespace tallowmere::platform
