#include "platform/desktop/ax_element.h"

#include <cmath>

#include "platform/desktop/desktop.h"
#include "platform/runtime/app_context.h"

namespace tallowmere::platform {

namespace {

// The checks every request goes through before the element's application
// sees it: the element exists, this process is trusted, and the application
// speaks Accessibility and answers.
Result<std::shared_ptr<SimulatedElement>> reach(const std::shared_ptr<SimulatedElement>& element,
                                                pid_t pid) {
    if (!element || !AppContext::hasCurrent()) return axFailure(AXError::invalidElement);
    Desktop& desktop = Desktop::shared();
    if (!desktop.accessibility().isProcessTrusted()) return axFailure(AXError::apiDisabled);
    if (element == desktop.systemWideElement()) return element;
    // An element taken out of its application (a closed window) is gone.
    auto app = element->application();
    if (!app) return axFailure(AXError::invalidElement);
    {
        if (!app->isRunning() || (pid != 0 && app->processIdentifier() != pid)) {
            return axFailure(AXError::invalidElement);
        }
        if (!app->isAccessibilityEnabled()) return axFailure(AXError::notImplemented);
        if (!app->isResponsive()) return axFailure(AXError::cannotComplete);
    }
    return element;
}

}  // namespace

AXElement::AXElement(const std::shared_ptr<SimulatedElement>& element)
    : element_(element),
      identity_(element.get()),
      pid_(element ? element->processIdentifier() : 0) {}

AXElement AXElement::systemWide() {
    return AXElement(Desktop::shared().systemWideElement());
}

AXElement AXElement::application(pid_t pid) {
    if (auto app = Desktop::shared().application(pid); app && app->isRunning())
        return AXElement(app);
    AXElement handle;
    handle.pid_ = pid;
    return handle;
}

bool AXElement::isValid() const {
    auto element = element_.lock();
    if (!element) return false;
    if (AppContext::hasCurrent() && element == Desktop::shared().systemWideElement()) return true;
    auto app = element->application();
    return app && app->isRunning() && (pid_ == 0 || app->processIdentifier() == pid_);
}

Result<AXValue> AXElement::attribute(std::string_view name) const {
    auto element = reach(element_.lock(), pid_);
    if (!element) return element.error();
    return (*element)->readAttribute(name);
}

Result<std::vector<std::string>> AXElement::attributeNames() const {
    auto element = reach(element_.lock(), pid_);
    if (!element) return element.error();
    return (*element)->attributeNames();
}

Result<bool> AXElement::isAttributeSettable(std::string_view name) const {
    auto element = reach(element_.lock(), pid_);
    if (!element) return element.error();
    return (*element)->isAttributeSettable(name);
}

Result<void> AXElement::setAttribute(std::string_view name, const AXValue& value) const {
    auto element = reach(element_.lock(), pid_);
    if (!element) return element.error();
    return (*element)->writeAttribute(name, value);
}

Result<AXValue> AXElement::parameterizedAttribute(std::string_view name,
                                                  const AXValue& parameter) const {
    auto element = reach(element_.lock(), pid_);
    if (!element) return element.error();
    return (*element)->readParameterizedAttribute(name, parameter);
}

Result<std::vector<std::string>> AXElement::parameterizedAttributeNames() const {
    auto element = reach(element_.lock(), pid_);
    if (!element) return element.error();
    return (*element)->parameterizedAttributeNames();
}

Result<std::vector<std::string>> AXElement::actionNames() const {
    auto element = reach(element_.lock(), pid_);
    if (!element) return element.error();
    return (*element)->actionNames();
}

Result<void> AXElement::performAction(std::string_view name) const {
    auto element = reach(element_.lock(), pid_);
    if (!element) return element.error();
    return (*element)->performAction(name);
}

Result<pid_t> AXElement::processIdentifier() const {
    auto element = element_.lock();
    if (!element) {
        if (pid_ != 0) return pid_;
        return axFailure(AXError::invalidElement);
    }
    if (!element->application())
        return axFailure(AXError::illegalArgument);  // the system-wide element
    return pid_;
}

Result<AXElement> AXElement::elementAtPosition(AXPoint point) const {
    auto element = reach(element_.lock(), pid_);
    if (!element) return element.error();
    if (!std::isfinite(point.x) || !std::isfinite(point.y))
        return axFailure(AXError::illegalArgument);
    Desktop& desktop = Desktop::shared();
    auto hit = desktop.elementAt(point);
    if ((*element)->role() == AXRole::application) {
        if (hit && hit->processIdentifier() != (*element)->processIdentifier()) hit = nullptr;
    } else if ((*element)->role() != AXRole::systemWide) {
        return axFailure(AXError::illegalArgument);
    }
    if (!hit) return axFailure(AXError::noValue);
    if (auto app = hit->application(); app && !app->isAccessibilityEnabled()) {
        return axFailure(AXError::notImplemented);
    }
    return AXElement(hit);
}

Result<void> AXElement::setMessagingTimeout(double seconds) const {
    if (!std::isfinite(seconds) || seconds < 0) return axFailure(AXError::illegalArgument);
    auto element = element_.lock();
    if (!element || !AppContext::hasCurrent()) return axFailure(AXError::invalidElement);
    Desktop& desktop = Desktop::shared();
    if (element == desktop.systemWideElement()) {
        desktop.accessibility().setMessagingTimeout(seconds);
    } else {
        desktop.accessibility().setMessagingTimeout(element->processIdentifier(), seconds);
    }
    return {};
}

bool AXElement::operator==(const AXElement& other) const {
    if (identity_ == nullptr || other.identity_ == nullptr) {
        return identity_ == other.identity_ && pid_ == other.pid_;
    }
    return !element_.owner_before(other.element_) && !other.element_.owner_before(element_);
}

std::size_t AXElement::hash() const {
    return identity_ ? std::hash<const void*>()(identity_) : std::hash<pid_t>()(pid_);
}

}  // namespace tallowmere::platform
