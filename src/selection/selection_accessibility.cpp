#include "selection/selection_accessibility.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <utility>

#include "localization/font_weight_presentation.h"
#include "localization/interface_language.h"
#include "platform/base/text.h"
#include "platform/desktop/ax_element.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/utf16_offsets.h"
#include "platform/gfx/rich_text_reader.h"
#include "platform/ui/desktop_link.h"
#include "windows/accessibility.h"
#include "windows/screen_geometry.h"

namespace tallowmere::Accessibility {

using platform::AXAttributedString;
using platform::AXElement;
using platform::AXValue;
namespace AXAttribute = platform::AXAttribute;
namespace AXParameterized = platform::AXParameterizedAttribute;
namespace AXStringAttribute = platform::AXStringAttribute;

namespace {

// How far up from each candidate the reads look. The style may sit on a
// text container well above the element that holds the selection.
constexpr int textWalk = 6;
constexpr int styleWalk = 12;
constexpr const char* unknownFontName = "无法获取";
// Font sizes beyond this are no real text; they would only overflow the size key.
constexpr double largestFontSize = 10000;

std::optional<AXElement> readElement(const AXElement& element, const char* attribute) {
    auto value = element.attribute(attribute);
    if (!value || !value->asElement()) return std::nullopt;
    return *value->asElement();
}

// Where selected text may be, in the order it is looked for: the element
// under the pointer, the system-wide focus, the front application's focus.
std::vector<AXElement> textCandidates(platform::ScreenPoint point) {
    std::vector<AXElement> candidates;
    const auto ax = ScreenGeometry::toAccessibility(point);
    // The hit test takes single-precision coordinates.
    if (auto hit = AXElement::systemWide().elementAtPosition({static_cast<float>(ax.x), static_cast<float>(ax.y)});
        hit && hit->isValid()) {
        candidates.push_back(*hit);
    }
    if (auto focused = readElement(AXElement::systemWide(), AXAttribute::focusedUIElement)) {
        candidates.push_back(*focused);
    }
    if (auto front = platform::DesktopLink::desktop().frontmostApplication()) {
        if (auto focused = readElement(AXElement::application(front->processIdentifier()), AXAttribute::focusedUIElement)) {
            candidates.push_back(*focused);
        }
    }
    return candidates;
}

// The candidates, or none when one of them is secure: a password shown by
// one candidate must not leak through another.
std::optional<std::vector<AXElement>> readableCandidates(platform::ScreenPoint point) {
    auto candidates = textCandidates(point);
    if (candidates.empty()) return std::nullopt;
    for (const auto& candidate : candidates) {
        if (isSecureTextElement(candidate)) return std::nullopt;
    }
    return candidates;
}

// Walks up from one candidate, carrying the text marker range: web areas hand
// it out on the inner element and answer for it on their ancestors.
class ChainWalk {
public:
    explicit ChainWalk(AXElement start) : element_(std::move(start)) {}

    const AXElement& element() const { return element_; }
    const std::optional<AXValue>& markerRange() {
        if (!markerRange_) {
            if (auto markers = element_.attribute(AXAttribute::selectedTextMarkerRange);
                markers && markers->asTextMarkerRange()) {
                markerRange_ = *markers;
            }
        }
        return markerRange_;
    }
    // The selected range, when it selects at least one unit.
    std::optional<AXValue> selectedRange() const {
        auto range = element_.attribute(AXAttribute::selectedTextRange);
        if (!range || !range->asRange()) return std::nullopt;
        if (range->asRange()->location < 0 || range->asRange()->length < 1) return std::nullopt;
        return *range;
    }
    bool moveToParent() {
        auto parent = readElement(element_, AXAttribute::parent);
        if (!parent) return false;
        element_ = *parent;
        return true;
    }

private:
    AXElement element_;
    std::optional<AXValue> markerRange_;
};

std::optional<std::string> plainString(const AXValue& value) {
    if (const auto* text = value.asString()) return *text;
    if (const auto* styled = value.asAttributedString()) return styled->string();
    return std::nullopt;
}

std::optional<std::string> nonEmptyTrimmed(const std::optional<std::string>& text) {
    if (!text) return std::nullopt;
    auto trimmed = platform::Text::trimmingWhitespaceAndNewlines(*text);
    if (trimmed.empty()) return std::nullopt;
    return trimmed;
}

std::optional<std::string> askText(const AXElement& element, const char* name, const AXValue& parameter) {
    auto value = element.parameterizedAttribute(name, parameter);
    if (!value) return std::nullopt;
    return nonEmptyTrimmed(plainString(*value));
}

// Bytes of the UTF-8 sequence a lead byte starts; four bytes make two UTF-16 units.
std::size_t sequenceLength(char lead) {
    const auto byte = static_cast<unsigned char>(lead);
    return byte < 0x80 ? 1 : byte < 0xE0 ? 2 : byte < 0xF0 ? 3 : 4;
}

// UTF-16 units [location, location + length) of UTF-8 text; none when the
// range reaches past the end or either edge falls inside a surrogate pair,
// since half a character is no text to act on.
std::optional<std::string> cutUtf16(std::string_view text, std::int64_t location, std::int64_t length) {
    std::int64_t units = 0;
    std::optional<std::size_t> start, end;
    const std::int64_t last = location + length;
    std::size_t offset = 0;
    while (true) {
        if (units == location && !start) start = offset;
        if (units == last) {
            end = offset;
            break;
        }
        if (offset >= text.size() || units > last) break;
        const std::size_t bytes = sequenceLength(text[offset]);
        offset = std::min(text.size(), offset + bytes);
        units += bytes == 4 ? 2 : 1;
    }
    if (!start || !end) return std::nullopt;
    return std::string(text.substr(*start, *end - *start));
}

std::optional<std::string> textOn(ChainWalk& walk) {
    const AXElement& element = walk.element();
    if (auto selected = element.attribute(AXAttribute::selectedText); selected && selected->asString()) {
        if (auto text = nonEmptyTrimmed(*selected->asString())) return text;
    }
    if (const auto& markers = walk.markerRange()) {
        if (auto text = askText(element, AXParameterized::stringForTextMarkerRange, *markers)) return text;
        if (auto text = askText(element, AXParameterized::attributedStringForTextMarkerRange, *markers)) return text;
    }
    if (auto range = walk.selectedRange()) {
        if (auto text = askText(element, AXParameterized::stringForRange, *range)) return text;
        auto value = element.attribute(AXAttribute::value);
        if (value && value->asString()) {
            const auto [location, length] = *range->asRange();
            if (auto text = nonEmptyTrimmed(cutUtf16(*value->asString(), location, length))) return text;
        }
    }
    return std::nullopt;
}

// RTF as the other requests hand styled text over: the font by the name the
// document gives it, bold as the only weight RTF knows.
AXAttributedString attributedFromRichText(const platform::RichText& rich) {
    std::vector<AXAttributedString::Run> runs;
    std::size_t at = 0;
    for (const auto& run : rich.runs) {
        AXAttributedString::Run converted;
        converted.length = platform::Utf16::length(std::string_view(rich.text).substr(at, run.length));
        at += run.length;
        if (!run.fontName.empty()) {
            converted.attributes.emplace(AXStringAttribute::font,
                                         platform::AXFont{.fontName = run.fontName, .pointSize = run.pointSize, .isBold = run.bold});
        }
        if (run.color) {
            const auto rgba = run.color->rgba();
            converted.attributes.emplace(AXStringAttribute::foregroundColor,
                                         platform::AXColor{rgba.red, rgba.green, rgba.blue, rgba.alpha});
        }
        runs.push_back(std::move(converted));
    }
    return AXAttributedString(rich.text, std::move(runs));
}

std::optional<AXAttributedString> styledOn(ChainWalk& walk) {
    const AXElement& element = walk.element();
    auto nonEmpty = [](const platform::Result<AXValue>& value) -> std::optional<AXAttributedString> {
        if (!value || !value->asAttributedString() || value->asAttributedString()->string().empty()) return std::nullopt;
        return *value->asAttributedString();
    };
    if (const auto& markers = walk.markerRange()) {
        if (auto styled = nonEmpty(element.parameterizedAttribute(AXParameterized::attributedStringForTextMarkerRange, *markers)))
            return styled;
    }
    auto range = element.attribute(AXAttribute::selectedTextRange);
    if (range && range->asRange()) {
        if (auto styled = nonEmpty(element.parameterizedAttribute(AXParameterized::attributedStringForRange, *range)))
            return styled;
        auto rtf = element.parameterizedAttribute(AXParameterized::rtfForRange, *range);
        if (rtf && rtf->asData()) {
            const auto& bytes = *rtf->asData();
            auto read = platform::RichTextReader::read(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
            if (read && !read->text.empty()) return attributedFromRichText(*read);
        }
    }
    return std::nullopt;
}

int weightFromTrait(double trait) {
    constexpr std::pair<double, int> steps[] = {{-0.7, 100}, {-0.5, 200}, {-0.2, 300}, {0.115, 400},
                                                {0.265, 500}, {0.35, 600}, {0.48, 700}, {0.59, 800}};
    for (const auto& [below, weight] : steps) {
        if (trait < below) return weight;
    }
    return 900;
}

std::optional<double> usableFontSize(double size) {
    if (!std::isfinite(size) || size < 0 || size > largestFontSize) return std::nullopt;
    return size;
}

std::string sizeText(long tenths) {
    std::string text = std::to_string(tenths / 10);
    if (tenths % 10 != 0) text += "." + std::to_string(tenths % 10);
    return text + " pt";
}

std::string weightText(double weight, std::string_view number) {
    return std::string(std::string_view(L(FontWeightPresentation::nameKey(weight)))) + "（" + std::string(number) + "）";
}

// The hex key of sRGB components; out-of-range components of extended colours
// are clamped so each field stays two digits.
TextColor textColor(double red, double green, double blue, double alpha) {
    auto byte = [](double component) {
        if (!std::isfinite(component)) component = 0;
        return static_cast<int>(std::clamp(component, 0.0, 1.0) * 255);
    };
    const int r = byte(red), g = byte(green), b = byte(blue), a = byte(alpha);
    char hex[16];
    if (a == 255) {
        std::snprintf(hex, sizeof hex, "#%02X%02X%02X", r, g, b);
    } else {
        std::snprintf(hex, sizeof hex, "#%02X%02X%02X%02X", r, g, b, a);
    }
    return {hex, platform::Color::sRGB(r / 255.0, g / 255.0, b / 255.0, a / 255.0)};
}

std::optional<TextColor> runColor(const AXValue::Dictionary& attributes) {
    auto found = attributes.find(AXStringAttribute::foregroundColor);
    if (found == attributes.end()) found = attributes.find(AXStringAttribute::axForegroundColor);
    if (found == attributes.end()) return std::nullopt;
    auto color = found->second.asColor();
    if (!color || color->kind == platform::AXColorKind::pattern) return std::nullopt;
    return textColor(color->red, color->green, color->blue, color->alpha);
}

struct RunFont {
    std::optional<std::string> name;
    std::optional<double> size;
    std::optional<int> weight;
};

RunFont fontOfDictionary(const AXValue::Dictionary& font) {
    RunFont result;
    auto string = [&](const char* key) -> const std::string* {
        auto found = font.find(key);
        return found == font.end() ? nullptr : found->second.asString();
    };
    auto number = [&](const char* key) -> std::optional<double> {
        auto found = font.find(key);
        return found == font.end() ? std::nullopt : found->second.asNumber();
    };
    for (const char* key : {AXStringAttribute::axVisibleName, AXStringAttribute::axFontFamily, AXStringAttribute::axFontName}) {
        if (const auto* name = string(key)) {
            result.name = *name;
            break;
        }
    }
    const auto size = number(AXStringAttribute::axFontSize);
    if (size) result.size = usableFontSize(*size);
    if (const auto* name = string(AXStringAttribute::axFontName)) {
        if (auto named = platform::Font::named(*name, result.size.value_or(platform::Font::systemFontSize))) {
            result.weight = cssFontWeight(*named);
        }
    }
    if (!result.weight) {
        if (auto weight = number(AXStringAttribute::axFontWeight)) result.weight = cssFontWeight(*weight);
    }
    return result;
}

std::optional<RunFont> runFont(const AXValue::Dictionary& attributes) {
    if (auto found = attributes.find(AXStringAttribute::font); found != attributes.end() && found->second.asFont()) {
        const auto& font = *found->second.asFont();
        const std::string& name = !font.displayName.empty() ? font.displayName
                                  : !font.familyName.empty() ? font.familyName
                                                             : font.fontName;
        return RunFont{name, usableFontSize(font.pointSize), cssFontWeight(font)};
    }
    if (auto found = attributes.find(AXStringAttribute::axFont); found != attributes.end() && found->second.asDictionary()) {
        return fontOfDictionary(*found->second.asDictionary());
    }
    return std::nullopt;
}

std::string joined(const std::set<std::string>& names, std::string_view separator) {
    if (names.empty()) return unknownFontName;
    std::string text;
    for (const auto& name : names) {
        if (!text.empty()) text += separator;
        text += name;
    }
    return text;
}

// The byte offset `units` UTF-16 units after byte offset `start`.
std::size_t advancedByUtf16(std::string_view text, std::size_t start, std::int64_t units) {
    std::size_t offset = start;
    while (units > 0 && offset < text.size()) {
        const std::size_t bytes = sequenceLength(text[offset]);
        offset = std::min(text.size(), offset + bytes);
        units -= bytes == 4 ? 2 : 1;
    }
    return offset;
}

bool isBlank(std::string_view text) {
    return platform::Text::trimmingWhitespaceAndNewlines(text).empty();
}

std::vector<TextColor> sortedColors(const std::map<std::string, TextColor>& colors) {
    std::vector<TextColor> result;
    for (const auto& [hex, color] : colors) result.push_back(color);
    return result;
}

// A CSS number such as "16px" or "400"; none when it is no finite number.
std::optional<double> cssNumber(std::string text) {
    for (auto at = text.find("px"); at != std::string::npos; at = text.find("px")) text.erase(at, 2);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<double> cssWeight(const std::string& text) {
    if (text == "normal") return 400;
    if (text == "bold") return 700;
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (!std::isfinite(value) || value < 1 || value > 1000) return std::nullopt;
    return value;
}

}  // namespace

bool isSecureInput(platform::ScreenPoint point) {
    for (const auto& candidate : textCandidates(point)) {
        if (isSecureTextElement(candidate)) return true;
    }
    return false;
}

std::optional<std::string> selectedText(platform::ScreenPoint point) {
    auto candidates = readableCandidates(point);
    if (!candidates) return std::nullopt;
    for (const auto& candidate : *candidates) {
        ChainWalk walk(candidate);
        for (int step = 0; step < textWalk; ++step) {
            if (auto text = textOn(walk)) return text;
            if (!walk.moveToParent()) break;
        }
    }
    return std::nullopt;
}

std::optional<TextStyle> selectedTextStyle(platform::ScreenPoint point) {
    auto candidates = readableCandidates(point);
    if (!candidates) return std::nullopt;
    for (const auto& candidate : *candidates) {
        ChainWalk walk(candidate);
        for (int step = 0; step < styleWalk; ++step) {
            if (auto styled = styledOn(walk)) return textStyle(*styled);
            if (!walk.moveToParent()) break;
        }
    }
    return std::nullopt;
}

TextStyle textStyle(const AXAttributedString& text) {
    std::set<std::string> names;
    std::set<long> sizeKeys;
    std::set<int> weights;
    std::map<std::string, TextColor> colors;
    // One pass over the text: asking for each run's text by index would
    // rescan from the start every time.
    const std::string_view whole = text.string();
    std::size_t runStart = 0;
    for (const auto& run : text.runs()) {
        const std::size_t runEnd = advancedByUtf16(whole, runStart, run.length);
        const std::string_view runText = whole.substr(runStart, runEnd - runStart);
        runStart = runEnd;
        if (run.length <= 0 || isBlank(runText)) continue;
        const auto& attributes = run.attributes;
        if (auto font = runFont(attributes)) {
            if (font->name) names.insert(*font->name);
            if (font->size) sizeKeys.insert(static_cast<long>(*font->size * 10));
            if (font->weight) weights.insert(*font->weight);
        }
        if (auto color = runColor(attributes)) colors.insert_or_assign(color->hex, *color);
    }
    TextStyle style;
    style.fontNameDescription = joined(names, "、");
    for (long key : sizeKeys) style.fontSizeDescriptions.push_back(sizeText(key));
    for (int weight : weights) style.fontWeightDescriptions.push_back(weightText(weight, std::to_string(weight)));
    style.colors = sortedColors(colors);
    return style;
}

int cssFontWeight(const platform::AXFont& font) {
    if (font.weightTrait) return weightFromTrait(*font.weightTrait);
    return font.isBold ? 700 : 400;
}

int cssFontWeight(const platform::Font& font) { return weightFromTrait(font.weightTrait()); }

int cssFontWeight(double value) {
    if (!std::isfinite(value)) return 400;
    if (value >= 100) return static_cast<int>(std::min(std::round(value), 1000.0));
    if (value > 1) {
        const auto n = std::lround(value);
        if (n <= 1) return 100;
        if (n <= 3) return 200;
        if (n == 4) return 300;
        if (n <= 6) return 400;
        if (n == 7) return 500;
        if (n == 8) return 600;
        if (n <= 10) return 700;
        if (n <= 12) return 800;
        return 900;
    }
    return weightFromTrait(value);
}

std::optional<TextStyle> chromeTextStyle(const std::vector<ChromeSelectionStyleReader::Style>& styles) {
    if (styles.empty()) return std::nullopt;
    std::set<std::string> names;
    std::set<std::pair<double, std::string>> sizes;
    std::set<double> weights;
    std::map<std::string, TextColor> colors;
    for (const auto& style : styles) {
        if (!style.fontFamily.empty()) names.insert(style.fontFamily);
        if (!style.fontSize.empty()) sizes.insert({cssNumber(style.fontSize).value_or(0), style.fontSize});
        if (auto weight = cssWeight(style.fontWeight)) weights.insert(*weight);
        const auto& rgba = style.rgba;
        if (rgba.size() == 4 && std::all_of(rgba.begin(), rgba.end(), [](int c) { return c >= 0 && c <= 255; })) {
            auto color = textColor(rgba[0] / 255.0, rgba[1] / 255.0, rgba[2] / 255.0, rgba[3] / 255.0);
            colors.insert_or_assign(color.hex, color);
        }
    }
    TextStyle result;
    result.fontNameDescription = joined(names, "，");
    for (const auto& [number, text] : sizes) result.fontSizeDescriptions.push_back(text);
    for (double weight : weights) result.fontWeightDescriptions.push_back(weightText(weight, FontWeightPresentation::number(weight)));
    result.colors = sortedColors(colors);
    if (names.empty() && sizes.empty() && weights.empty() && colors.empty()) return std::nullopt;
    return result;
}

}  // namespace tallowmere::Accessibility
