#pragma once

#include <memory>

#include "platform/gfx/text_measurer.h"

namespace tallowmere::platform {

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
