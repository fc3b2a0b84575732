#include "windows/window_pin_controller.h"

#include "localization/product_identity.h"
#include "platform/base/text.h"
#include "platform/desktop/desktop.h"
#include "platform/ui/desktop_link.h"

namespace tallowmere {

using namespace platform;

WindowPinController::ToggleResult WindowPinController::toggle(std::optional<pid_t> preferredPID) {
    if (pinnedWindow) {
        stopMirror();
        return false;
    }
    auto& desktop = DesktopLink::desktop();
    if (!desktop.accessibility().isProcessTrusted()) return WindowPinError::accessibilityRequired;
    if (!desktop.windowServer().preflightScreenCaptureAccess()) {
        desktop.windowServer().requestScreenCaptureAccess();
        return WindowPinError::screenRecordingRequired;
    }
    std::optional<pid_t> pid = preferredPID;
    if (!pid) {
        auto frontmost = desktop.frontmostApplication();
        if (!frontmost || !frontmost->isRunning()) return WindowPinError::noFocusedWindow;
        pid = frontmost->processIdentifier();
    }
    if (*pid == desktop.currentProcessIdentifier()) return WindowPinError::noFocusedWindow;
    auto focused = AXElement::application(*pid).attribute("AXFocusedWindow");
    const AXElement* window = focused ? focused->asElement() : nullptr;
    if (!window || !window->isValid()) return WindowPinError::noFocusedWindow;
    auto title = window->attribute("AXTitle");
    std::string name = title && title->asString() ? Text::trimmingWhitespaceAndNewlines(*title->asString()) : std::string();
    if (name.empty()) {
        auto running = desktop.workspace().runningApplication(*pid);
        auto localized = running ? running->localizedName() : std::nullopt;
        name = localized ? *localized : ProductIdentity::localizedBrand("当前窗口", "Current Window");
    }
    if (!startMirror(0, *window, name)) return WindowPinError::levelChangeFailed;
    return true;
}

bool WindowPinController::startMirror(std::uint32_t /*windowID*/, const AXElement& /*element*/,
                                      const std::string& /*title*/) {
    return false;
}

void WindowPinController::stopMirror() { pinnedWindow.reset(); }

}  // namespace tallowmere
