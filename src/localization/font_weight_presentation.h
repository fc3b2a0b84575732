#pragma once

#include <string>
#include <string_view>

namespace tallowmere {

// Names a CSS-style font weight (1 to 1000; 400 regular, 700 bold) for the
// font-information tool.
struct FontWeightPresentation {
    // The Simplified Chinese lookup key of the weight's name ("细体", "正常",
    // "半粗", "粗"); callers pass it through `L`.
    static std::string_view nameKey(double weight);
    // The weight as a number text ("400", "450.5"), or "-" outside 1...1000.
    static std::string number(double weight);
};

}  // namespace tallowmere
