#pragma once

#include <memory>
#include <string>
#include <vector>

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
    Size measureLines(const AttributedString& text, std::optional<double> wrapWidth, int lines) const override;

    // The family of the face that draws each run of `text`, in order: what
    // the machine's fonts make of the request, fallback for characters the
    // asked face lacks included.
    std::vector<std::string> faceFamilies(const AttributedString& text) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace tallowmere::platform
