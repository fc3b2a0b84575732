#pragma once

#include "platform/gfx/text_measurer.h"

namespace tallowmere::platform {

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

}  // namespace tallowmere::platform
