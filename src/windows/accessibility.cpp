#include "windows/accessibility.h"

#include <cmath>

#include "platform/desktop/desktop.h"
#include "platform/ui/desktop_link.h"
#include "windows/screen_geometry.h"

namespace tallowmere::Accessibility {

using platform::AXElement;
using platform::AXRect;
using platform::AXValue;
namespace AXAttribute = platform::AXAttribute;

namespace {

std::optional<AXValue> read(const AXElement& element, const char* attribute) {
    auto value = element.attribute(attribute);
    if (!value) return std::nullopt;
    return std::move(*value);
}

std::optional<std::string> readString(const AXElement& element, const char* attribute) {
    auto value = read(element, attribute);
    if (!value || !value->asString()) return std::nullopt;
    return *value->asString();
}

std::optional<AXElement> readElement(const AXElement& element, const char* attribute) {
    auto value = read(element, attribute);
    if (!value || !value->asElement()) return std::nullopt;
    return *value->asElement();
}

std::optional<bool> readBool(const AXElement& element, const char* attribute) {
    auto value = read(element, attribute);
    return value ? value->asBool() : std::nullopt;
}

bool isFinite(const AXRect& rect) {
    return std::isfinite(rect.origin.x) && std::isfinite(rect.origin.y) && std::isfinite(rect.size.width) &&
           std::isfinite(rect.size.height);
}

}  // namespace

std::vector<AXElement> windows(pid_t pid) {
    auto value = read(AXElement::application(pid), AXAttribute::windows);
    if (!value || !value->asElements()) return {};
    return *value->asElements();
}

std::optional<AXElement> windowAtCocoaPoint(platform::ScreenPoint point) {
    // The hit test takes single-precision coordinates.
    const auto ax = ScreenGeometry::toAccessibility(point);
    const platform::AXPoint hitPoint{static_cast<float>(ax.x), static_cast<float>(ax.y)};
    auto hit = AXElement::systemWide().elementAtPosition(hitPoint);
    if (!hit || !hit->isValid()) return std::nullopt;

    AXElement element = *hit;
    for (int step = 0; step < maximumWalk; ++step) {
        if (readString(element, AXAttribute::role) == platform::AXRole::window) return element;
        if (auto window = readElement(element, AXAttribute::window)) return window;
        auto parent = readElement(element, AXAttribute::parent);
        if (!parent) return std::nullopt;
        element = *parent;
    }
    return std::nullopt;
}

std::optional<AXRect> frame(const AXElement& window) {
    auto position = read(window, AXAttribute::position);
    auto size = read(window, AXAttribute::size);
    if (!position || !size) return std::nullopt;
    auto origin = position->asPoint();
    auto extent = size->asSize();
    if (!origin || !extent) return std::nullopt;
    return AXRect{*origin, *extent};
}

bool setFrame(const AXRect& target, const AXElement& window) {
    // A value that cannot be made (not a number, say) is never sent.
    if (!isFinite(target)) return false;
    const AXValue position(target.origin);
    const AXValue size(target.size);

    // The first move may be refused or undone by the resize; only the
    // resize and the second move decide.
    (void)window.setAttribute(AXAttribute::position, position);
    if (!window.setAttribute(AXAttribute::size, size)) return false;
    if (!window.setAttribute(AXAttribute::position, position)) return false;

    auto result = frame(window);
    if (!result) return false;
    return std::abs(result->origin.x - target.origin.x) <= frameTolerance &&
           std::abs(result->origin.y - target.origin.y) <= frameTolerance &&
           std::abs(result->size.width - target.size.width) <= frameTolerance &&
           std::abs(result->size.height - target.size.height) <= frameTolerance;
}

std::string title(const AXElement& element) { return readString(element, AXAttribute::title).value_or(""); }

bool isOwnedByCurrentApplication(const AXElement& element) {
    auto pid = element.processIdentifier();
    return pid && *pid == platform::DesktopLink::desktop().currentProcessIdentifier();
}

bool isMinimized(const AXElement& window) { return readBool(window, AXAttribute::minimized).value_or(false); }

bool setMinimized(bool minimized, const AXElement& window) {
    if (!window.setAttribute(AXAttribute::minimized, AXValue(minimized))) return false;
    return readBool(window, AXAttribute::minimized) == minimized;
}

std::optional<platform::Url> documentURL(const AXElement& window) {
    auto value = read(window, AXAttribute::document);
    if (!value) return std::nullopt;
    if (const auto* url = value->asURL()) return platform::Url::parse(url->absoluteString);
    const auto* text = value->asString();
    if (!text || text->empty()) return std::nullopt;
    if (auto url = platform::Url::parse(*text); url && !url->scheme().empty()) return url;
    return platform::Url::fileUrl(*text);
}

bool isSecureTextElement(const AXElement& element) {
    AXElement current = element;
    for (int step = 0; step < maximumWalk; ++step) {
        if (readString(current, AXAttribute::role) == platform::AXRole::secureTextField ||
            readString(current, AXAttribute::subrole) == platform::AXSubrole::secureTextField ||
            readBool(current, AXAttribute::protectedContent) == true) {
            return true;
        }
        auto parent = readElement(current, AXAttribute::parent);
        if (!parent) return false;
        current = *parent;
    }
    return false;
}

}  // namespace tallowmere::Accessibility

namespace tallowmere {

void presentAccessibilityPermissionPrompt() {
    platform::DesktopLink::desktop().workspace().openURL(
        "x-apple.systempreferences:com.apple.preference.security?Privacy_Accessibility");
}

}  // namespace tallowmere
