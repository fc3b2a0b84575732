#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/gfx/text_measurer.h"

namespace tallowmere::platform {

// Remembers what another measurer answered, by text, the attributes that
// change sizes (fonts, kern, baseline offsets, per run) and wrap width:
// layout asks for the same label's size many times, and shaping text is the
// costly part. Colours and underlines are not part of the key.
class CachingTextMeasurer final : public TextMeasurer {
public:
    // Past this many texts the cache starts again, so it cannot grow
    // without bound in a long-running program.
    static constexpr std::size_t capacity = 4096;

    explicit CachingTextMeasurer(std::shared_ptr<TextMeasurer> measurer);

    LineMetrics lineMetrics(const Font& font) const override;
    Size measure(const AttributedString& text, std::optional<double> wrapWidth = std::nullopt) const override;
    using TextMeasurer::measure;
    Size measureLines(const AttributedString& text, std::optional<double> wrapWidth, int lines) const override;

private:
    std::shared_ptr<TextMeasurer> measurer_;
    mutable std::mutex mutex_;  // background queues measure too
    mutable std::unordered_map<std::string, Size> sizes_;
    mutable std::vector<std::pair<Font, LineMetrics>> metrics_;
};

}  // namespace tallowmere::platform
