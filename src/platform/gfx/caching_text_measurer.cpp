#include "platform/gfx/caching_text_measurer.h"

#include <algorithm>
#include <cstring>

namespace tallowmere::platform {

namespace {

void appendNumber(std::string& key, double value) {
    char bytes[sizeof value];
    std::memcpy(bytes, &value, sizeof value);
    key.append(bytes, sizeof bytes);
}

void appendFont(std::string& key, const Font& font) {
    key += font.name();
    key += '\0';
    key += font.familyName();
    key += '\0';
    appendNumber(key, font.pointSize());
    key += static_cast<char>(font.weight());
    key += static_cast<char>(font.isItalic() | font.isMonospacedDigit() << 1 | font.isFixedPitch() << 2 |
                             font.isSystemFont() << 3);
}

// Everything a measurer's answer depends on, as bytes.
std::string keyOf(const AttributedString& text, std::optional<double> wrapWidth) {
    std::string key;
    key.reserve(text.length() + 64 * text.runs().size() + 16);
    appendNumber(key, wrapWidth.value_or(-1));
    key += wrapWidth ? '\1' : '\0';
    for (const auto& run : text.runs()) {
        appendNumber(key, double(run.range.location));
        appendNumber(key, double(run.range.length));
        const auto& attributes = run.attributes;
        key += attributes.font ? '\1' : '\0';
        if (attributes.font) appendFont(key, *attributes.font);
        appendNumber(key, attributes.kern);
        appendNumber(key, attributes.baselineOffset);
        key += attributes.attachment ? '\1' : '\0';
        if (attributes.attachment) {
            const Rect& bounds = attributes.attachment->bounds;
            for (double value : {bounds.origin.x, bounds.origin.y, bounds.size.width, bounds.size.height})
                appendNumber(key, value);
        }
    }
    key += '\0';
    key += text.text();
    return key;
}

}  // namespace

CachingTextMeasurer::CachingTextMeasurer(std::shared_ptr<TextMeasurer> measurer) : measurer_(std::move(measurer)) {}

LineMetrics CachingTextMeasurer::lineMetrics(const Font& font) const {
    std::lock_guard lock(mutex_);
    auto known = std::find_if(metrics_.begin(), metrics_.end(), [&](const auto& entry) { return entry.first == font; });
    if (known != metrics_.end()) return known->second;
    if (metrics_.size() >= capacity) metrics_.clear();
    const LineMetrics metrics = measurer_->lineMetrics(font);
    metrics_.emplace_back(font, metrics);
    return metrics;
}

Size CachingTextMeasurer::measure(const AttributedString& text, std::optional<double> wrapWidth) const {
    return measureLines(text, wrapWidth, 0);
}

Size CachingTextMeasurer::measureLines(const AttributedString& text, std::optional<double> wrapWidth,
                                       int lines) const {
    std::string key = keyOf(text, wrapWidth);
    lines = std::max(0, lines);
    appendNumber(key, lines);
    std::lock_guard lock(mutex_);
    if (auto known = sizes_.find(key); known != sizes_.end()) return known->second;
    if (sizes_.size() >= capacity) sizes_.clear();
    const Size size =
        lines == 0 ? measurer_->measure(text, wrapWidth) : measurer_->measureLines(text, wrapWidth, lines);
    sizes_.emplace(std::move(key), size);
    return size;
}

}  // namespace tallowmere::platform
