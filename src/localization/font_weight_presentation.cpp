#include "localization/font_weight_presentation.h"

#include <charconv>
#include <cmath>

namespace tallowmere {

std::string_view FontWeightPresentation::nameKey(double weight) {
    // A weight that is not a number fails every comparison and so reads as bold.
    if (weight < 400) return "细体";
    if (weight < 500) return "正常";
    if (weight < 700) return "半粗";
    return "粗";
}

std::string FontWeightPresentation::number(double weight) {
    if (!std::isfinite(weight) || weight < 1 || weight > 1000) return "-";
    char buffer[32];
    std::to_chars_result written;
    if (weight == std::floor(weight)) {
        written = std::to_chars(buffer, buffer + sizeof buffer, static_cast<long>(weight));
    } else {
        // Shortest text that reads back as the same double.
        written = std::to_chars(buffer, buffer + sizeof buffer, weight);
    }
    return std::string(buffer, written.ptr);
}

}  // namespace tallowmere
