#include "platform/ui/editable_text.h"

#include <algorithm>

#include "platform/base/text.h"
#include "platform/ui/grapheme_boundaries.h"

namespace tallowmere::platform {

namespace {

// Typed text without control characters (the platform's function-key
// characters U+F700...U+F8FF included), which are commands, not text.
std::string printable(std::string_view typed) {
    const std::string valid = Text::repairUtf8(typed);
    std::string result;
    for (std::size_t i = 0; i < valid.size();) {
        const auto lead = static_cast<unsigned char>(valid[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        const std::string_view unit(valid.data() + i, std::min(length, valid.size() - i));
        const bool control = length == 1 && (lead < 0x20 || lead == 0x7F);
        // U+F700...U+F8FF is EF 9C 80 ... EF A3 BF in UTF-8.
        const bool functionKey = length == 3 && lead == 0xEF && static_cast<unsigned char>(valid[i + 1]) >= 0x9C &&
                                 static_cast<unsigned char>(valid[i + 1]) <= 0xA3;
        if (!control && !functionKey) result += unit;
        i += length;
    }
    return result;
}

}  // namespace

EditableText::EditableText(std::string text) { setText(std::move(text)); }

void EditableText::setText(std::string text) {
    text_ = Text::repairUtf8(text);
    anchor_ = caret_ = text_.size();
}

TextRange EditableText::selectedRange() const {
    const std::size_t start = std::min(anchor_, caret_);
    return {start, std::max(anchor_, caret_) - start};
}

void EditableText::setSelectedRange(TextRange range) {
    const std::size_t size = text_.size();
    const std::size_t location = std::min(range.location, size);
    const std::size_t end = range.length > size - location ? size : location + range.length;
    anchor_ = GraphemeBoundaries::atOrBefore(text_, location);
    const std::size_t endBefore = GraphemeBoundaries::atOrBefore(text_, end);
    caret_ = endBefore == end ? end : GraphemeBoundaries::next(text_, endBefore);
}

void EditableText::selectAll() {
    anchor_ = 0;
    caret_ = text_.size();
}

void EditableText::insert(std::string_view text) {
    const std::string clean = Text::repairUtf8(text);
    const TextRange range = selectedRange();
    text_.replace(range.location, range.length, clean);
    anchor_ = caret_ = range.location + clean.size();
}

bool EditableText::deleteBackward() {
    TextRange range = selectedRange();
    if (range.length == 0) {
        if (caret_ == 0) return false;
        const std::size_t start = GraphemeBoundaries::previous(text_, caret_);
        range = {start, caret_ - start};
    }
    text_.erase(range.location, range.length);
    anchor_ = caret_ = range.location;
    return true;
}

bool EditableText::deleteForward() {
    TextRange range = selectedRange();
    if (range.length == 0) {
        if (caret_ >= text_.size()) return false;
        range = {caret_, GraphemeBoundaries::next(text_, caret_) - caret_};
    }
    text_.erase(range.location, range.length);
    anchor_ = caret_ = range.location;
    return true;
}

void EditableText::moveLeft(bool extendSelection) {
    const TextRange range = selectedRange();
    if (!extendSelection && range.length > 0) {
        anchor_ = caret_ = range.location;
        return;
    }
    caret_ = GraphemeBoundaries::previous(text_, caret_);
    if (!extendSelection) anchor_ = caret_;
}

void EditableText::moveRight(bool extendSelection) {
    const TextRange range = selectedRange();
    if (!extendSelection && range.length > 0) {
        anchor_ = caret_ = range.end();
        return;
    }
    caret_ = GraphemeBoundaries::next(text_, caret_);
    if (!extendSelection) anchor_ = caret_;
}

void EditableText::moveToStart(bool extendSelection) {
    caret_ = 0;
    if (!extendSelection) anchor_ = caret_;
}

void EditableText::moveToEnd(bool extendSelection) {
    caret_ = text_.size();
    if (!extendSelection) anchor_ = caret_;
}

TextEditOutcome EditableText::handleKey(const Event& event, bool multiline) {
    const ModifierFlags flags = event.modifierFlags.deviceIndependent();
    const bool command = flags.contains(ModifierFlags::command);
    const bool control = flags.contains(ModifierFlags::control);
    const bool shift = flags.contains(ModifierFlags::shift);
    const std::string before = text_;
    const auto outcomeOfChange = [&] { return text_ == before ? TextEditOutcome::moved : TextEditOutcome::changed; };

    switch (event.keyCode) {
    case KeyCode::deleteKey:
        deleteBackward();
        return outcomeOfChange();
    case KeyCode::forwardDelete:
        deleteForward();
        return outcomeOfChange();
    case KeyCode::returnKey:
    case KeyCode::keypadEnter:
        if (command || control) return TextEditOutcome::ignored;
        if (!multiline) return TextEditOutcome::insertNewline;
        insert("\n");
        return TextEditOutcome::changed;
    case KeyCode::tab:
        if (command || control) return TextEditOutcome::ignored;
        if (shift) return TextEditOutcome::insertBacktab;
        if (!multiline) return TextEditOutcome::insertTab;
        insert("\t");
        return TextEditOutcome::changed;
    case KeyCode::escape:
        return TextEditOutcome::cancel;
    case KeyCode::leftArrow:
        command ? moveToStart(shift) : moveLeft(shift);
        return TextEditOutcome::moved;
    case KeyCode::rightArrow:
        command ? moveToEnd(shift) : moveRight(shift);
        return TextEditOutcome::moved;
    case KeyCode::upArrow:
    case KeyCode::home:
        moveToStart(shift);
        return TextEditOutcome::moved;
    case KeyCode::downArrow:
    case KeyCode::end:
        moveToEnd(shift);
        return TextEditOutcome::moved;
    default:
        break;
    }
    if (command || control) {
        if (command && !control && event.charactersIgnoringModifiers == "a") {
            selectAll();
            return TextEditOutcome::moved;
        }
        return TextEditOutcome::ignored;
    }
    const std::string typed = printable(event.characters);
    if (typed.empty()) return TextEditOutcome::ignored;
    insert(typed);
    return TextEditOutcome::changed;
}

}  // namespace tallowmere::platform
