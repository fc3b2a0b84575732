#include "selection/selection_accessibility.h"

#include <vector>

#include "platform/desktop/ax_element.h"
#include "platform/desktop/desktop.h"
#include "platform/ui/desktop_link.h"
#include "windows/accessibility.h"
#include "windows/screen_geometry.h"

namespace tallowmere::Accessibility {

using platform::AXElement;
namespace AXAttribute = platform::AXAttribute;

namespace {

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

// The element holding a non-empty selection, and that selection.
std::optional<std::pair<AXElement, std::string>> selection(platform::ScreenPoint point) {
    for (const auto& candidate : textCandidates(point)) {
        AXElement element = candidate;
        for (int step = 0; step < maximumWalk; ++step) {
            if (auto value = element.attribute(AXAttribute::selectedText); value && value->asString() &&
                                                                             !value->asString()->empty()) {
                return std::pair{element, *value->asString()};
            }
            auto parent = readElement(element, AXAttribute::parent);
            if (!parent) break;
            element = *parent;
        }
    }
    return std::nullopt;
}

}  // namespace

bool isSecureInput(platform::ScreenPoint point) {
    for (const auto& candidate : textCandidates(point)) {
        if (isSecureTextElement(candidate)) return true;
    }
    return false;
}

std::optional<std::string> selectedText(platform::ScreenPoint point) {
    auto found = selection(point);
    if (!found) return std::nullopt;
    return found->second;
}

std::optional<TextStyle> selectedTextStyle(platform::ScreenPoint point) {
    auto found = selection(point);
    if (!found) return std::nullopt;
    auto range = found->first.attribute(AXAttribute::selectedTextRange);
    if (!range || !range->asRange()) return std::nullopt;
    auto styled = found->first.parameterizedAttribute(platform::AXParameterizedAttribute::attributedStringForRange, *range);
    if (!styled || !styled->asAttributedString()) return std::nullopt;
    for (const auto& run : styled->asAttributedString()->runs()) {
        for (const auto& [name, value] : run.attributes) {
            if (const auto* font = value.asFont()) {
                return TextStyle{font->fontName, font->familyName, font->pointSize, font->isBold};
            }
        }
    }
    return std::nullopt;
}

}  // namespace tallowmere::Accessibility
