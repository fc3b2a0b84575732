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
};

// Stable metrics that depend on nothing but the text and the font size s:
//  - a grapheme advances 0.5 s, a wide one (East Asian wide or fullwidth,
//    emoji presentation) s; kern is added after each;
//  - weight, italics and typeface do not change widths;
//  - ascent 0.95 s, descent 0.25 s, leading 0: a line is 1.2 s high;
//  - a line's height is that of its largest font.
class DeterministicTextMeasurer final : public TextMeasurer {
public:
    static constexpr double narrowAdvance = 0.5;
    static constexpr double wideAdvance = 1.0;
    static constexpr double ascentRatio = 0.95;
    static constexpr double descentRatio = 0.25;

    LineMetrics lineMetrics(const Font& font) const override;
    Size measure(const AttributedString& text, std::optional<double> wrapWidth = std::nullopt) const override;
    using TextMeasurer::measure;
};

// Real glyph metrics from pango with the fonts fontconfig finds.
class PangoTextMeasurer final : public TextMeasurer {
public:
    PangoTextMeasurer();
    ~PangoTextMeasurer() override;
    PangoTextMeasurer(const PangoTextMeasurer&) = delete;
    PangoTextMeasurer& operator=(const PangoTextMeasurer&) = delete;

    LineMetrics lineMetrics(const Font& font) const override;
    Size measure(const AttributedString& text, std::optional<double> wrapWidth = std::nullopt) const override;
    using TextMeasurer::measure;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace tallowmere::platform
