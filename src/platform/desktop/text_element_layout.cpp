#include "platform/desktop/text_element_layout.h"

#include <algorithm>
#include <cmath>

#include "platform/base/text.h"
#include "platform/desktop/utf16_offsets.h"
#include "platform/gfx/text_measurer.h"

namespace tallowmere::platform {

Font TextElementLayout::font() { return Font::systemFont(13); }

TextElementLayout::TextElementLayout(std::string text)
    : text_(std::move(text)), lineHeight_(TextMeasurer::shared().lineMetrics(font()).lineHeight()) {
    for (std::size_t start = 0;;) {
        const std::size_t end = std::min(text_.find('\n', start), text_.size());
        lines_.push_back({start, end});
        if (end == text_.size()) break;
        start = end + 1;
    }
}

double TextElementLayout::x(const Line& line, std::size_t byteOffset) const {
    const std::size_t bytes = std::clamp(byteOffset, line.start, line.end) - line.start;
    if (bytes == 0) return inset;
    return inset + TextMeasurer::shared().measure(std::string_view(text_).substr(line.start, bytes), font()).width;
}

std::int64_t TextElementLayout::offsetAt(Point point) const {
    const double row = std::floor((point.y - inset) / lineHeight_);
    const auto index = static_cast<std::size_t>(std::clamp(row, 0.0, static_cast<double>(lines_.size() - 1)));
    const Line& line = lines_[index];
    // The boundary whose x is nearest; characters are never split.
    std::size_t best = line.start;
    double bestDistance = std::abs(point.x - x(line, line.start));
    for (std::size_t boundary : Text::graphemeBoundaries(std::string_view(text_).substr(line.start, line.end - line.start))) {
        const double distance = std::abs(point.x - x(line, line.start + boundary));
        if (distance < bestDistance) {
            best = line.start + boundary;
            bestDistance = distance;
        }
    }
    return Utf16::length(std::string_view(text_).substr(0, best));
}

}  // namespace tallowmere::platform
