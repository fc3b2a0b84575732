#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/desktop/event.h"
#include "platform/gfx/attributed_string.h"

namespace tallowmere::platform {

// What a key did to an EditableText.
enum class TextEditOutcome {
    ignored,        // not an editing key; pass it on
    moved,          // the caret or the selection moved, the text did not change
    changed,        // the text changed
    insertNewline,  // Return in a single-line editor: the end of editing
    insertTab,      // Tab: move on to the next field
    insertBacktab,  // Shift-Tab: back to the previous field
    cancel,         // Escape
};

// A string being edited, with its caret and selection, changed by typing
// keys the way a text field's editor is. Offsets are UTF-8 bytes and always
// fall between user-perceived characters; typed text that is not valid
// UTF-8 is repaired, never stored broken.
class EditableText {
public:
    explicit EditableText(std::string text = {});

    const std::string& text() const { return text_; }
    // Replaces the text; the caret goes to the end.
    void setText(std::string text);

    // From the anchor to the caret, as a range (location <= end).
    TextRange selectedRange() const;
    // Clamped to the text and widened to whole characters; the caret ends
    // at the range's end.
    void setSelectedRange(TextRange range);
    std::size_t caret() const { return caret_; }
    void selectAll();

    // Replaces the selection with `text`; the caret follows it.
    void insert(std::string_view text);
    // Deletes the selection, else the character before (after) the caret.
    // False when there was nothing to delete.
    bool deleteBackward();
    bool deleteForward();
    void moveLeft(bool extendSelection);
    void moveRight(bool extendSelection);
    void moveToStart(bool extendSelection);
    void moveToEnd(bool extendSelection);

    // Applies a key down. A multi-line editor takes Return and Tab as text.
    TextEditOutcome handleKey(const Event& event, bool multiline);

private:
    std::string text_;
    std::size_t anchor_ = 0;
    std::size_t caret_ = 0;
};

}  // namespace tallowmere::platform
