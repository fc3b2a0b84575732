#include "time/typed_minutes.h"

#include "platform/base/text.h"

#include <string>

namespace tallowmere {

std::optional<int> typedWholeMinutes(std::string_view typed, int longest) {
    const std::string text = platform::Text::trimmingWhitespaceAndNewlines(typed);
    const bool hasSign = !text.empty() && (text.front() == '+' || text.front() == '-');
    const std::size_t first = hasSign ? 1 : 0;
    if (first == text.size()) return std::nullopt;
    long long value = 0;
    for (std::size_t i = first; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        value = value * 10 + (text[i] - '0');
        // Past the limit already: stopping here also keeps a long run of digits from overflowing.
        if (value > longest) return std::nullopt;
    }
    if (text.front() == '-' || value < 1) return std::nullopt;
    return static_cast<int>(value);
}

}  // namespace tallowmere
