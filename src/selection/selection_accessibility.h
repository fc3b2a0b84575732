#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/desktop/ax_value.h"
#include "platform/gfx/color.h"
#include "platform/gfx/font.h"
#include "platform/gfx/geometry.h"
#include "selection/chrome_selection_style_reader.h"

namespace tallowmere::Accessibility {

// One distinct colour of the selection: "#RRGGBB", or "#RRGGBBAA" when not opaque.
struct TextColor {
    std::string hex;
    platform::Color color;  // sRGB
    bool operator==(const TextColor&) const = default;
};

// The look of selected text, summed up over its styled runs for the bar.
struct TextStyle {
    std::string fontNameDescription;                  // distinct names, sorted and joined; "无法获取" with none
    std::vector<std::string> fontSizeDescriptions;    // ascending: "12 pt", "12.5 pt" (or CSS values as given)
    std::vector<std::string> fontWeightDescriptions;  // ascending: localized name and "（400）"
    std::vector<TextColor> colors;                    // sorted by hex
    bool operator==(const TextStyle&) const = default;
};

// The reads look for text in the element under the point, the system-wide
// focus and the front application's focus; when any of them is a password
// field or protected content they read nothing at all. Synchronous requests
// to other processes, made on the main thread; a refusal counts as nothing.

// True when one of those elements is secure; false when none can be read.
bool isSecureInput(platform::ScreenPoint point);
// The selected text, trimmed of whitespace and newlines; never empty.
std::optional<std::string> selectedText(platform::ScreenPoint point);
// The summary of the selection's styled text; none when no styled text is readable.
std::optional<TextStyle> selectedTextStyle(platform::ScreenPoint point);

// The summary of an attributed string's runs; runs of only whitespace count for nothing.
TextStyle textStyle(const platform::AXAttributedString& text);
// The CSS weight (100 … 900) of a font, from its weight trait.
int cssFontWeight(const platform::AXFont& font);
int cssFontWeight(const platform::Font& font);
// The CSS weight of a weight an application reports as a number: a CSS weight
// (100 and above), the 0 … 15 weight scale, or a -1 … 1 trait.
int cssFontWeight(double axValue);
// The summary of the styles a page reports; none when they tell nothing.
std::optional<TextStyle> chromeTextStyle(const std::vector<ChromeSelectionStyleReader::Style>& styles);

}  // namespace tallowmere::Accessibility
