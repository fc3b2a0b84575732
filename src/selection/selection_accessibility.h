#pragma once

#include <optional>
#include <string>

#include "platform/gfx/geometry.h"

namespace tallowmere::Accessibility {

// The look of selected text, as far as Accessibility tells it.
struct TextStyle {
    std::string fontName;
    std::string familyName;
    double pointSize = 0;
    bool isBold = false;
    bool operator==(const TextStyle&) const = default;
};

// True when the text element under `point` (screen space), else the
// focused one, is a password field or protected content; false when
// nothing can be read.
bool isSecureInput(platform::ScreenPoint point);
// The selected text of the text element under `point`, else of the focused
// one; none when there is no selection or it cannot be read.
std::optional<std::string> selectedText(platform::ScreenPoint point);
// The style of the first run of that selection.
std::optional<TextStyle> selectedTextStyle(platform::ScreenPoint point);

}  // namespace tallowmere::Accessibility
