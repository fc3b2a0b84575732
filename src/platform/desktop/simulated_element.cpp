#include "platform/desktop/simulated_element.h"

#include <algorithm>

#include "platform/desktop/desktop.h"
#include "platform/desktop/rich_text_writer.h"
#include "platform/desktop/utf16_offsets.h"

namespace tallowmere::platform {

namespace {

std::uint64_t markerOwner(const SimulatedElement* element) {
    return reinterpret_cast<std::uintptr_t>(element);
}

// Monospaced layout of a one-line text element, enough for the bounds of a
// range to move with the range.
constexpr double characterWidth = 8;
constexpr double lineHeight = 16;
constexpr double textInset = 4;

// Command and nothing else of the keys a person holds (Caps Lock counts,
// as it changes what the chord means to a text field).
bool isCommandChord(const Event& event) {
    constexpr std::uint64_t held = ModifierFlags::command | ModifierFlags::shift |
                                   ModifierFlags::control | ModifierFlags::option |
                                   ModifierFlags::capsLock;
    return (event.modifierFlags.rawValue & held) == ModifierFlags::command;
}

}  // namespace

SimulatedElement::SimulatedElement(ElementSpec spec) : spec_(std::move(spec)) {
    if (spec_.value && spec_.selectedRange) setSelectedRange(*spec_.selectedRange);
}

std::shared_ptr<SimulatedElement> SimulatedElement::addElement(ElementSpec spec) {
    auto child = std::make_shared<SimulatedElement>(std::move(spec));
    adoptChild(child);
    return child;
}

void SimulatedElement::adoptChild(const std::shared_ptr<SimulatedElement>& child) {
    child->parent_ = weak_from_this();
    children_.push_back(child);
}

void SimulatedElement::removeFromParent() {
    auto parent = parent_.lock();
    if (!parent) return;
    auto self = shared_from_this();
    std::erase(parent->children_, self);
    parent_.reset();
}

std::shared_ptr<SimulatedApplication> SimulatedElement::application() const {
    for (auto element = std::const_pointer_cast<SimulatedElement>(shared_from_this()); element;
         element = element->parent()) {
        if (auto app = std::dynamic_pointer_cast<SimulatedApplication>(element)) return app;
    }
    return nullptr;
}

std::shared_ptr<SimulatedWindow> SimulatedElement::window() const {
    for (auto element = std::const_pointer_cast<SimulatedElement>(shared_from_this()); element;
         element = element->parent()) {
        if (auto window = std::dynamic_pointer_cast<SimulatedWindow>(element)) return window;
    }
    return nullptr;
}

pid_t SimulatedElement::processIdentifier() const {
    auto app = application();
    return app ? app->processIdentifier() : 0;
}

std::shared_ptr<Desktop> SimulatedElement::desktop() const {
    auto app = application();
    return app ? app->owningDesktop() : nullptr;
}

AXRect SimulatedElement::axFrame() const {
    auto container = window();
    if (!container || container.get() == this) return spec_.frame;
    const AXRect origin = container->axFrame();
    return spec_.frame.offsetBy(origin.origin.x, origin.origin.y);
}

std::shared_ptr<SimulatedElement> SimulatedElement::deepestElementAt(AXPoint point) {
    if (!axFrame().contains(point)) return nullptr;
    for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
        if (auto hit = (*it)->deepestElementAt(point)) return hit;
    }
    return shared_from_this();
}

void SimulatedElement::setValue(std::string text) {
    spec_.value = std::move(text);
    if (spec_.selectedRange) setSelectedRange(*spec_.selectedRange);
}

void SimulatedElement::setSelectedRange(AXRange range) {
    const std::int64_t total = spec_.value ? Utf16::length(*spec_.value) : 0;
    const std::int64_t location = std::clamp<std::int64_t>(range.location, 0, total);
    const std::int64_t length = std::clamp<std::int64_t>(range.length, 0, total - location);
    spec_.selectedRange = AXRange{location, length};
}

std::string SimulatedElement::selectedText() const {
    if (!spec_.value || !spec_.selectedRange) return {};
    return Utf16::slice(*spec_.value, spec_.selectedRange->location, spec_.selectedRange->length)
        .value_or("");
}

bool SimulatedElement::isSecure() const {
    if (spec_.role == AXRole::secureTextField || spec_.subrole == AXSubrole::secureTextField)
        return true;
    auto it = spec_.attributes.find(AXAttribute::protectedContent);
    return it != spec_.attributes.end() && it->second.asBool().value_or(false);
}

AXAttributedString SimulatedElement::attributedValue() const {
    return AXAttributedString(spec_.value.value_or(""), spec_.styleRuns);
}

void SimulatedElement::focus() {
    if (auto app = application()) app->setFocusedElement(shared_from_this());
}

void SimulatedElement::setAttribute(std::string name, AXValue value) {
    spec_.attributes[std::move(name)] = std::move(value);
}

void SimulatedElement::removeAttribute(const std::string& name) {
    spec_.attributes.erase(name);
}

void SimulatedElement::failAttribute(std::string name, AXError error) {
    failures_[std::move(name)] = error;
}

void SimulatedElement::setParameterizedAttribute(std::string name, ParameterizedHandler handler) {
    parameterized_[std::move(name)] = std::move(handler);
}

void SimulatedElement::setAction(std::string name, ActionHandler handler) {
    actions_[std::move(name)] = std::move(handler);
}

std::optional<AXError> SimulatedElement::injectedFailure(std::string_view name) const {
    auto it = failures_.find(name);
    if (it == failures_.end()) return std::nullopt;
    return it->second;
}

std::optional<AXValue> SimulatedElement::textAttribute(std::string_view name) const {
    if (!spec_.value) return std::nullopt;
    if (name == AXAttribute::numberOfCharacters)
        return AXValue(static_cast<double>(Utf16::length(*spec_.value)));
    // A secure field never gives its text away.
    if (name == AXAttribute::value) return isSecure() ? AXValue() : AXValue(*spec_.value);
    if (!spec_.selectedRange) return std::nullopt;
    if (spec_.usesTextMarkers) {
        if (name == AXAttribute::selectedTextMarkerRange) {
            return AXValue(AXTextMarkerRange{markerOwner(this), *spec_.selectedRange});
        }
        return std::nullopt;
    }
    if (name == AXAttribute::selectedTextRange) return AXValue(*spec_.selectedRange);
    if (name == AXAttribute::selectedText)
        return isSecure() ? AXValue(std::string()) : AXValue(selectedText());
    return std::nullopt;
}

Result<AXValue> SimulatedElement::readAttribute(std::string_view name) const {
    if (auto failure = injectedFailure(name)) return axFailure(*failure);
    if (auto it = spec_.attributes.find(std::string(name)); it != spec_.attributes.end())
        return it->second;
    if (name == AXAttribute::role) return AXValue(spec_.role);
    if (name == AXAttribute::subrole) {
        if (spec_.subrole.empty()) return axFailure(AXError::noValue);
        return AXValue(spec_.subrole);
    }
    if (name == AXAttribute::title) {
        if (spec_.title.empty()) return axFailure(AXError::noValue);
        return AXValue(spec_.title);
    }
    if (name == AXAttribute::description) {
        if (spec_.description.empty()) return axFailure(AXError::noValue);
        return AXValue(spec_.description);
    }
    if (name == AXAttribute::parent) {
        auto parent = parent_.lock();
        if (!parent) return axFailure(AXError::noValue);
        return AXValue(AXElement(parent));
    }
    if (name == AXAttribute::children) {
        std::vector<AXElement> handles;
        for (const auto& child : children_) handles.emplace_back(child);
        return AXValue(std::move(handles));
    }
    if (name == AXAttribute::window) {
        auto container = window();
        if (!container || container.get() == this) return axFailure(AXError::attributeUnsupported);
        return AXValue(AXElement(std::static_pointer_cast<SimulatedElement>(container)));
    }
    if (name == AXAttribute::position) return AXValue(axFrame().origin);
    if (name == AXAttribute::size) return AXValue(axFrame().size);
    if (name == AXAttribute::focused) {
        auto app = application();
        auto focused = app ? app->focusedElement() : nullptr;
        return AXValue(focused.get() == this);
    }
    if (auto text = textAttribute(name)) {
        if (text->isNull()) return axFailure(AXError::noValue);
        return *text;
    }
    return axFailure(AXError::attributeUnsupported);
}

Result<void> SimulatedElement::writeAttribute(std::string_view name, const AXValue& value) {
    if (auto failure = injectedFailure(name)) return axFailure(*failure);
    if (name == AXAttribute::value && spec_.value && spec_.editable &&
        !spec_.attributes.contains(AXAttribute::value)) {
        const std::string* text = value.asString();
        if (!text) return axFailure(AXError::illegalArgument);
        setValue(*text);
        return {};
    }
    if (name == AXAttribute::selectedTextRange && spec_.value && !spec_.usesTextMarkers) {
        auto range = value.asRange();
        if (!range || range->location < 0 || range->length < 0)
            return axFailure(AXError::illegalArgument);
        setSelectedRange(*range);
        return {};
    }
    if (name == AXAttribute::focused) {
        auto focus = value.asBool();
        if (!focus) return axFailure(AXError::illegalArgument);
        if (*focus) this->focus();
        return {};
    }
    return axFailure(AXError::attributeUnsupported);
}

bool SimulatedElement::isAttributeSettable(std::string_view name) const {
    if (injectedFailure(name)) return false;
    if (name == AXAttribute::value) return spec_.value && spec_.editable;
    if (name == AXAttribute::selectedTextRange) return spec_.value && !spec_.usesTextMarkers;
    return name == AXAttribute::focused;
}

std::vector<std::string> SimulatedElement::attributeNames() const {
    std::vector<std::string> names = {AXAttribute::role,     AXAttribute::parent,
                                      AXAttribute::children, AXAttribute::position,
                                      AXAttribute::size,     AXAttribute::focused};
    if (!spec_.subrole.empty()) names.push_back(AXAttribute::subrole);
    if (!spec_.title.empty()) names.push_back(AXAttribute::title);
    if (!spec_.description.empty()) names.push_back(AXAttribute::description);
    if (auto container = window(); container && container.get() != this)
        names.push_back(AXAttribute::window);
    if (spec_.value) {
        names.push_back(AXAttribute::value);
        names.push_back(AXAttribute::numberOfCharacters);
        if (spec_.usesTextMarkers) {
            names.push_back(AXAttribute::selectedTextMarkerRange);
        } else {
            names.push_back(AXAttribute::selectedText);
            names.push_back(AXAttribute::selectedTextRange);
        }
    }
    for (const auto& [key, value] : spec_.attributes) {
        if (std::find(names.begin(), names.end(), key) == names.end()) names.push_back(key);
    }
    return names;
}

Result<AXValue> SimulatedElement::readParameterizedAttribute(std::string_view name,
                                                             const AXValue& parameter) const {
    if (auto failure = injectedFailure(name)) return axFailure(*failure);
    if (auto it = parameterized_.find(name); it != parameterized_.end())
        return it->second(parameter);

    if (name == AXParameterizedAttribute::stringForTextMarkerRange ||
        name == AXParameterizedAttribute::attributedStringForTextMarkerRange) {
        auto markers = parameter.asTextMarkerRange();
        if (!markers) return axFailure(AXError::illegalArgument);
        // The element that handed the markers out, or an ancestor of it.
        const SimulatedElement* owner = nullptr;
        std::vector<const SimulatedElement*> pending{this};
        while (!pending.empty() && !owner) {
            const SimulatedElement* element = pending.back();
            pending.pop_back();
            if (markerOwner(element) == markers->owner && element->spec_.usesTextMarkers)
                owner = element;
            for (const auto& child : element->children_) pending.push_back(child.get());
        }
        if (!owner || !owner->spec_.value || owner->isSecure()) return axFailure(AXError::noValue);
        auto text =
            Utf16::slice(*owner->spec_.value, markers->range.location, markers->range.length);
        if (!text) return axFailure(AXError::illegalArgument);
        if (name == AXParameterizedAttribute::stringForTextMarkerRange) return AXValue(*text);
        if (!owner->spec_.offersStyledText) return axFailure(AXError::parameterizedAttributeUnsupported);
        return AXValue(owner->attributedValue().substring(markers->range));
    }

    const bool rangeRequest = name == AXParameterizedAttribute::stringForRange ||
                              name == AXParameterizedAttribute::attributedStringForRange ||
                              name == AXParameterizedAttribute::rtfForRange ||
                              name == AXParameterizedAttribute::boundsForRange;
    if (!rangeRequest || !spec_.value || spec_.usesTextMarkers) {
        return axFailure(AXError::parameterizedAttributeUnsupported);
    }
    auto range = parameter.asRange();
    if (!range) return axFailure(AXError::illegalArgument);
    auto text = Utf16::slice(*spec_.value, range->location, range->length);
    if (!text) return axFailure(AXError::illegalArgument);
    if (isSecure() && name != AXParameterizedAttribute::boundsForRange)
        return axFailure(AXError::noValue);
    if (name == AXParameterizedAttribute::stringForRange) return AXValue(*text);
    const bool styled = name == AXParameterizedAttribute::attributedStringForRange ||
                        name == AXParameterizedAttribute::rtfForRange;
    if (styled && !spec_.offersStyledText) return axFailure(AXError::parameterizedAttributeUnsupported);
    if (name == AXParameterizedAttribute::attributedStringForRange) {
        return AXValue(attributedValue().substring(*range));
    }
    if (name == AXParameterizedAttribute::rtfForRange) {
        return AXValue(RichTextWriter::write(attributedValue().substring(*range)));
    }
    const AXRect frame = axFrame();
    return AXValue(
        AXRect{frame.minX() + textInset + characterWidth * static_cast<double>(range->location),
               frame.minY() + 2, characterWidth * static_cast<double>(range->length), lineHeight});
}

std::vector<std::string> SimulatedElement::parameterizedAttributeNames() const {
    std::vector<std::string> names;
    if (spec_.value) {
        if (spec_.usesTextMarkers) {
            names = {AXParameterizedAttribute::stringForTextMarkerRange};
            if (spec_.offersStyledText) names.push_back(AXParameterizedAttribute::attributedStringForTextMarkerRange);
        } else {
            names = {AXParameterizedAttribute::stringForRange, AXParameterizedAttribute::boundsForRange};
            if (spec_.offersStyledText) {
                names.push_back(AXParameterizedAttribute::attributedStringForRange);
                names.push_back(AXParameterizedAttribute::rtfForRange);
            }
        }
    }
    for (const auto& [key, handler] : parameterized_) {
        if (std::find(names.begin(), names.end(), key) == names.end()) names.push_back(key);
    }
    return names;
}

std::vector<std::string> SimulatedElement::actionNames() const {
    std::vector<std::string> names;
    for (const auto& [key, handler] : actions_) names.push_back(key);
    return names;
}

Result<void> SimulatedElement::performAction(std::string_view name) {
    if (auto failure = injectedFailure(name)) return axFailure(*failure);
    auto it = actions_.find(name);
    if (it == actions_.end()) return axFailure(AXError::actionUnsupported);
    // Copied: the action may remove this element and its actions.
    auto action = it->second;
    return action();
}

void SimulatedElement::replaceSelection(const std::string& text) {
    if (!spec_.value) return;
    const AXRange selection = spec_.selectedRange.value_or(AXRange{Utf16::length(*spec_.value), 0});
    const std::string& value = *spec_.value;
    const std::size_t begin = Utf16::byteOffset(value, selection.location);
    const std::size_t end = Utf16::byteOffset(value, selection.location + selection.length);
    spec_.value = value.substr(0, begin) + text + value.substr(end);
    spec_.selectedRange = AXRange{selection.location + Utf16::length(text), 0};
}

bool SimulatedElement::handleKeyDown(const Event& event) {
    if (!spec_.value) return false;
    auto owner = desktop();
    if (isCommandChord(event)) {
        const std::string key = event.charactersIgnoringModifiers;
        const bool hasSelection = spec_.selectedRange && spec_.selectedRange->length > 0;
        if (event.keyCode == KeyCode::a || key == "a") {
            setSelectedRange({0, Utf16::length(*spec_.value)});
            return true;
        }
        // Secure fields refuse to hand their text out.
        if ((event.keyCode == KeyCode::c || key == "c") && hasSelection && !isSecure() && owner) {
            owner->pasteboard().clearContents();
            owner->pasteboard().setString(selectedText());
            return true;
        }
        if ((event.keyCode == KeyCode::x || key == "x") && hasSelection && !isSecure() &&
            spec_.editable && owner) {
            owner->pasteboard().clearContents();
            owner->pasteboard().setString(selectedText());
            replaceSelection("");
            return true;
        }
        if ((event.keyCode == KeyCode::v || key == "v") && spec_.editable && owner) {
            auto text = owner->pasteboard().string();
            if (!text) return false;
            replaceSelection(*text);
            return true;
        }
        return false;
    }
    if (!spec_.editable ||
        (event.modifierFlags.rawValue & (ModifierFlags::command | ModifierFlags::control))) {
        return false;
    }
    if (event.keyCode == KeyCode::deleteKey) {
        if (spec_.selectedRange && spec_.selectedRange->length == 0 &&
            spec_.selectedRange->location > 0) {
            // The whole character before the caret, however many units it takes.
            const std::string_view value = *spec_.value;
            const std::int64_t caret = spec_.selectedRange->location;
            std::size_t previous = Utf16::byteOffset(value, caret);
            do {
                --previous;
            } while (previous > 0 && (static_cast<unsigned char>(value[previous]) & 0xC0) == 0x80);
            const std::int64_t start = Utf16::length(value.substr(0, previous));
            spec_.selectedRange = AXRange{start, caret - start};
        }
        replaceSelection("");
        return true;
    }
    const std::string& typed = event.characters;
    if (typed.empty() || static_cast<unsigned char>(typed[0]) < 0x20 || typed[0] == 0x7f)
        return false;
    replaceSelection(typed);
    return true;
}

}  // namespace tallowmere::platform
