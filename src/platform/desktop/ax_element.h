#pragma once

#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/result.h"
#include "platform/desktop/ax_error.h"
#include "platform/gfx/geometry.h"

namespace tallowmere::platform {

class AXValue;
class SimulatedElement;

// Names of the attributes, actions and notifications the simulated
// applications answer to.
namespace AXAttribute {
constexpr const char* role = "AXRole";
constexpr const char* subrole = "AXSubrole";
constexpr const char* title = "AXTitle";
constexpr const char* description = "AXDescription";
constexpr const char* value = "AXValue";
constexpr const char* parent = "AXParent";
constexpr const char* children = "AXChildren";
constexpr const char* window = "AXWindow";
constexpr const char* windows = "AXWindows";
constexpr const char* mainWindow = "AXMainWindow";
constexpr const char* focusedWindow = "AXFocusedWindow";
constexpr const char* focusedApplication = "AXFocusedApplication";
constexpr const char* focusedUIElement = "AXFocusedUIElement";
constexpr const char* focused = "AXFocused";
constexpr const char* position = "AXPosition";
constexpr const char* size = "AXSize";
constexpr const char* minimized = "AXMinimized";
constexpr const char* main = "AXMain";
constexpr const char* frontmost = "AXFrontmost";
constexpr const char* hidden = "AXHidden";
constexpr const char* document = "AXDocument";
constexpr const char* closeButton = "AXCloseButton";
constexpr const char* minimizeButton = "AXMinimizeButton";
constexpr const char* zoomButton = "AXZoomButton";
constexpr const char* protectedContent = "AXProtectedContent";
constexpr const char* selectedText = "AXSelectedText";
constexpr const char* selectedTextRange = "AXSelectedTextRange";
constexpr const char* selectedTextMarkerRange = "AXSelectedTextMarkerRange";
constexpr const char* numberOfCharacters = "AXNumberOfCharacters";
constexpr const char* enhancedUserInterface = "AXEnhancedUserInterface";
}  // namespace AXAttribute

namespace AXParameterizedAttribute {
constexpr const char* stringForRange = "AXStringForRange";
constexpr const char* attributedStringForRange = "AXAttributedStringForRange";
constexpr const char* boundsForRange = "AXBoundsForRange";
constexpr const char* rtfForRange = "AXRTFForRange";
constexpr const char* stringForTextMarkerRange = "AXStringForTextMarkerRange";
constexpr const char* attributedStringForTextMarkerRange = "AXAttributedStringForTextMarkerRange";
}  // namespace AXParameterizedAttribute

namespace AXAction {
constexpr const char* raise = "AXRaise";
constexpr const char* press = "AXPress";
}  // namespace AXAction

namespace AXRole {
constexpr const char* systemWide = "AXSystemWide";
constexpr const char* application = "AXApplication";
constexpr const char* window = "AXWindow";
constexpr const char* menuBar = "AXMenuBar";
constexpr const char* menuBarItem = "AXMenuBarItem";
constexpr const char* button = "AXButton";
constexpr const char* group = "AXGroup";
constexpr const char* staticText = "AXStaticText";
constexpr const char* textField = "AXTextField";
constexpr const char* textArea = "AXTextArea";
constexpr const char* comboBox = "AXComboBox";
constexpr const char* searchField = "AXSearchField";
constexpr const char* secureTextField = "AXSecureTextField";
constexpr const char* webArea = "AXWebArea";
}  // namespace AXRole

namespace AXSubrole {
constexpr const char* standardWindow = "AXStandardWindow";
constexpr const char* dialog = "AXDialog";
constexpr const char* floatingWindow = "AXFloatingWindow";
constexpr const char* closeButton = "AXCloseButton";
constexpr const char* minimizeButton = "AXMinimizeButton";
constexpr const char* zoomButton = "AXZoomButton";
constexpr const char* secureTextField = "AXSecureTextField";
}  // namespace AXSubrole

// A handle on one Accessibility element of some process: the system-wide
// element, an application, a window or a control inside it. Copyable and
// compared by identity; it does not keep the element alive, so a handle on
// a closed window answers `invalidElement`.
//
// Every request checks the trust of this process first (`apiDisabled`
// without it) and then asks the element's application, which may not speak
// Accessibility (`notImplemented`) or may not answer (`cannotComplete`).
class AXElement {
  public:
    AXElement() = default;  // no element; every request fails with `invalidElement`

    static AXElement systemWide();
    // The application element of a process (a handle even when no such
    // process runs; requests then fail with `invalidElement`).
    static AXElement application(pid_t pid);

    bool isValid() const;  // the element still exists
    explicit operator bool() const { return isValid(); }

    Result<AXValue> attribute(std::string_view name) const;
    Result<std::vector<std::string>> attributeNames() const;
    Result<bool> isAttributeSettable(std::string_view name) const;
    Result<void> setAttribute(std::string_view name, const AXValue& value) const;
    Result<AXValue> parameterizedAttribute(std::string_view name, const AXValue& parameter) const;
    Result<std::vector<std::string>> parameterizedAttributeNames() const;
    Result<std::vector<std::string>> actionNames() const;
    Result<void> performAction(std::string_view name) const;
    Result<pid_t> processIdentifier() const;

    // The deepest element at a point in Accessibility space, asked of the
    // system-wide element (any application) or of one application.
    Result<AXElement> elementAtPosition(AXPoint point) const;

    // How long requests to this element's application (or, on the
    // system-wide element, to every application) wait for an answer;
    // 0 restores the default. Recorded; a hung application fails requests
    // with `cannotComplete` whatever the timeout.
    Result<void> setMessagingTimeout(double seconds) const;

    bool operator==(const AXElement& other) const;
    std::size_t hash() const;

    // For the desktop's own use: the model element behind the handle.
    std::shared_ptr<SimulatedElement> model() const { return element_.lock(); }
    explicit AXElement(const std::shared_ptr<SimulatedElement>& element);

  private:
    std::weak_ptr<SimulatedElement> element_;
    const void* identity_ = nullptr;  // for hashing; equality compares owners
    pid_t pid_ = 0;                   // an application handle for a process that does not run
};

}  // namespace tallowmere::platform

template <>
struct std::hash<tallowmere::platform::AXElement> {
    std::size_t operator()(const tallowmere::platform::AXElement& e) const noexcept {
        return e.hash();
    }
};

#include "platform/desktop/ax_value.h"
