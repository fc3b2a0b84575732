#include "platform/gfx/text_measurer.h"

#include <algorithm>

#include "platform/gfx/caching_text_measurer.h"
#include "platform/gfx/deterministic_text_measurer.h"
#include "platform/gfx/pango_text_measurer.h"
#include "platform/runtime/app_context.h"

namespace tallowmere::platform {

TextMeasurer& TextMeasurer::shared() { return AppContext::current().shared<TextMeasurer>(); }

std::shared_ptr<TextMeasurer> TextMeasurer::makeShared() {
    if (AppContext::current().isDeterministic()) return std::make_shared<DeterministicTextMeasurer>();
    return std::make_shared<CachingTextMeasurer>(std::make_shared<PangoTextMeasurer>());
}

Size TextMeasurer::measure(std::string_view text, const Font& font, std::optional<double> wrapWidth) const {
    TextAttributes attributes;
    attributes.font = font;
    return measure(AttributedString(std::string(text), attributes), wrapWidth);
}

Size TextMeasurer::measureLines(const AttributedString& text, std::optional<double> wrapWidth, int lines) const {
    Size size = measure(text, wrapWidth);
    if (lines <= 0) return size;
    const Font font = text.attributesAt(0).font.value_or(Font::systemFont(Font::systemFontSize));
    size.height = std::min(size.height, lines * lineMetrics(font).lineHeight());
    return size;
}

}  // namespace tallowmere::platform
