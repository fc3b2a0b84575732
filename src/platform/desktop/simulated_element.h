#pragma once

#include <sys/types.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/result.h"
#include "platform/desktop/ax_element.h"
#include "platform/gfx/geometry.h"

namespace tallowmere::platform {

class Desktop;
class SimulatedApplication;
class SimulatedWindow;
struct Event;

// How a test describes a control inside a window.
struct ElementSpec {
    std::string role = AXRole::group;
    std::string subrole{};
    std::string title{};
    std::string description{};
    // Relative to the window's top-left corner, y down, like Accessibility.
    AXRect frame{};
    // Text of a text element; its selection counts UTF-16 units.
    std::optional<std::string> value{};
    std::optional<AXRange> selectedRange{};
    // Keys typed into it change the text (cut, paste, typing).
    bool editable = false;
    // Web-style text: the selection is a text marker range, and the plain
    // selected-text attributes are not offered.
    bool usesTextMarkers = false;
    // Answers the attributed-string and RTF requests; a web area that reports
    // its text but not its styles does not.
    bool offersStyledText = true;
    // Style runs over `value`, answered by the attributed-string requests.
    std::vector<AXAttributedString::Run> styleRuns{};
    // Further attributes, answered as they are ("AXProtectedContent", ...).
    AXValue::Dictionary attributes{};
};

// One Accessibility element of a simulated application: it keeps its state,
// answers attribute requests from it and obeys writes the way a real control
// does. Tests build trees of them; feature code reaches them only through
// `AXElement` handles.
class SimulatedElement : public std::enable_shared_from_this<SimulatedElement> {
  public:
    using ParameterizedHandler = std::function<Result<AXValue>(const AXValue& parameter)>;
    using ActionHandler = std::function<Result<void>()>;

    explicit SimulatedElement(ElementSpec spec);
    virtual ~SimulatedElement() = default;
    SimulatedElement(const SimulatedElement&) = delete;
    SimulatedElement& operator=(const SimulatedElement&) = delete;

    AXElement handle() { return AXElement(shared_from_this()); }

    const std::string& role() const { return spec_.role; }
    const std::string& subrole() const { return spec_.subrole; }
    const std::string& title() const { return spec_.title; }
    void setTitle(std::string title) { spec_.title = std::move(title); }

    // Tree
    std::shared_ptr<SimulatedElement> parent() const { return parent_.lock(); }
    const std::vector<std::shared_ptr<SimulatedElement>>& children() const { return children_; }
    std::shared_ptr<SimulatedElement> addElement(ElementSpec spec);
    void removeFromParent();
    std::shared_ptr<SimulatedApplication> application() const;
    // The window this element is in (itself for a window).
    std::shared_ptr<SimulatedWindow> window() const;
    pid_t processIdentifier() const;

    // Absolute frame in Accessibility space.
    virtual AXRect axFrame() const;
    // Moves the element: relative to its window's top-left corner, or in
    // Accessibility space for an element outside any window.
    void setFrame(AXRect frame) { spec_.frame = frame; }
    // The deepest visible element under the point, this one included.
    std::shared_ptr<SimulatedElement> deepestElementAt(AXPoint point);

    // Text
    const std::optional<std::string>& value() const { return spec_.value; }
    void setValue(std::string text);
    std::optional<AXRange> selectedRange() const { return spec_.selectedRange; }
    // Clamped to the text.
    void setSelectedRange(AXRange range);
    std::string selectedText() const;
    bool isEditable() const { return spec_.editable; }
    bool isSecure() const;
    bool isTextElement() const { return spec_.value.has_value(); }
    void setStyleRuns(std::vector<AXAttributedString::Run> runs) {
        spec_.styleRuns = std::move(runs);
    }
    AXAttributedString attributedValue() const;
    // Makes this the focused element of its application.
    void focus();

    // What the application answers besides its built-in attributes.
    void setAttribute(std::string name, AXValue value);
    void removeAttribute(const std::string& name);
    // Requests for `name` fail with `error` from now on (read and write).
    void failAttribute(std::string name, AXError error);
    void setParameterizedAttribute(std::string name, ParameterizedHandler handler);
    void setAction(std::string name, ActionHandler handler);

    // Requests, as `AXElement` forwards them after checking trust and the
    // application's answers.
    virtual Result<AXValue> readAttribute(std::string_view name) const;
    virtual Result<void> writeAttribute(std::string_view name, const AXValue& value);
    virtual bool isAttributeSettable(std::string_view name) const;
    virtual std::vector<std::string> attributeNames() const;
    virtual Result<AXValue> readParameterizedAttribute(std::string_view name,
                                                       const AXValue& parameter) const;
    virtual std::vector<std::string> parameterizedAttributeNames() const;
    virtual std::vector<std::string> actionNames() const;
    virtual Result<void> performAction(std::string_view name);

    // A key sent to the application while this element has focus: the
    // editing commands (Command-C, -X, -V, -A) and typing. True when handled.
    virtual bool handleKeyDown(const Event& event);

  protected:
    // For the subclasses that are the roots of trees.
    void setParent(const std::shared_ptr<SimulatedElement>& parent) { parent_ = parent; }
    void adoptChild(const std::shared_ptr<SimulatedElement>& child);
    std::shared_ptr<Desktop> desktop() const;
    ElementSpec& spec() { return spec_; }
    const ElementSpec& spec() const { return spec_; }
    std::optional<AXError> injectedFailure(std::string_view name) const;

  private:
    std::optional<AXValue> textAttribute(std::string_view name) const;
    void replaceSelection(const std::string& text);

    ElementSpec spec_;
    std::weak_ptr<SimulatedElement> parent_;
    std::vector<std::shared_ptr<SimulatedElement>> children_;
    std::map<std::string, AXError, std::less<>> failures_;
    std::map<std::string, ParameterizedHandler, std::less<>> parameterized_;
    std::map<std::string, ActionHandler, std::less<>> actions_;
};

}  // namespace tallowmere::platform
