#pragma once

#include <string>
#include <vector>

namespace tallowmere {

// What a page reports of the selection's computed style in the browser.
struct ChromeSelectionStyleReader {
    // One styled stretch of the page selection, as the page script reports it.
    struct Style {
        std::string fontFamily;  // the CSS font-family list
        std::string fontSize;    // "16px"
        std::string fontWeight;  // "400", "bold"
        std::vector<int> rgba;   // red, green, blue, alpha bytes; empty when unknown
        bool operator==(const Style&) const = default;
    };
};

}  // namespace tallowmere
