#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/gfx/attributed_string.h"
#include "platform/ui/control.h"
#include "platform/ui/editable_text.h"

namespace tallowmere::platform {

// Where lines break or text is cut when it does not fit.
enum class LineBreakMode { byWordWrapping, byCharWrapping, byClipping, byTruncatingHead, byTruncatingTail, byTruncatingMiddle };

// A box of text: editable with a bezel (a text field) or plain (a label, see
// Label). An editable field edits while it is first responder: typed keys
// change `stringValue` at once and `onTextDidChange` fires per change;
// editing ends when it loses the keys or on Return, which also runs
// `onAction`. Return, Tab and Escape that the field does not use go on to
// the window (Return then presses the default button, Tab moves on).
class TextField : public Control {
public:
    using TextCallback = std::function<void(TextField& field)>;

    // An editable, bezeled, single-line field.
    static std::shared_ptr<TextField> make(std::string text = {});

    // The first change of an editing session.
    TextCallback onTextDidBeginEditing;
    // Every change of the text by the person (not by setStringValue).
    TextCallback onTextDidChange;
    // Editing ended (the field lost the keys, or Return).
    TextCallback onTextDidEndEditing;

    // --- Text -----------------------------------------------------------------
    const std::string& stringValue() const;
    // Replaces the text (also while editing); no callback fires.
    void setStringValue(std::string value);
    // Styled text shown instead of the plain one when set; setting it sets
    // the plain text to its text.
    const std::optional<AttributedString>& attributedStringValue() const { return attributedString_; }
    void setAttributedStringValue(std::optional<AttributedString> value);
    const std::string& placeholderString() const { return placeholder_; }
    void setPlaceholderString(std::string placeholder);

    const std::optional<Color>& textColor() const { return textColor_; }
    void setTextColor(std::optional<Color> color);
    const std::optional<Color>& backgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(std::optional<Color> color);
    bool drawsBackground() const { return drawsBackground_; }
    void setDrawsBackground(bool draws);
    bool isBezeled() const { return bezeled_; }
    void setBezeled(bool bezeled);
    bool isBordered() const { return bordered_; }
    void setBordered(bool bordered);
    // Kept for callers that set it; the field draws no focus ring.
    bool showsFocusRing = true;

    // --- Lines ----------------------------------------------------------------
    LineBreakMode lineBreakMode() const { return lineBreakMode_; }
    void setLineBreakMode(LineBreakMode mode);
    // 0 is no limit; 1 keeps the text on one line.
    int maximumNumberOfLines() const { return maximumNumberOfLines_; }
    void setMaximumNumberOfLines(int lines);
    // The width a wrapping text's intrinsic size wraps at (none: unwrapped).
    std::optional<double> preferredMaxLayoutWidth() const { return preferredMaxLayoutWidth_; }
    void setPreferredMaxLayoutWidth(std::optional<double> width);
    bool wraps() const;

    // --- Editing --------------------------------------------------------------
    bool isEditable() const { return editable_; }
    void setEditable(bool editable);
    bool isSelectable() const { return selectable_ || editable_; }
    void setSelectable(bool selectable) { selectable_ = selectable; }
    // True while the field has the keys and edits.
    bool isEditing() const { return editor_.has_value(); }
    // The selection while editing (all of the text selected when editing starts).
    std::optional<TextRange> selectedRange() const;
    void setSelectedRange(TextRange range);
    // Puts `text` in place of the selection, as typing or pasting does
    // (the change callbacks fire); nothing when not editing.
    void insertText(std::string_view text);

    // --- View -----------------------------------------------------------------
    std::string accessibilityRole() const override;
    Size intrinsicContentSize() const override;
    double measureFittingHeightForWidth(double width) const override;
    void draw(Canvas& canvas, Rect dirty) override;
    bool acceptsFirstResponder() const override { return isEnabled() && isSelectable(); }
    bool becomeFirstResponder() override;
    bool resignFirstResponder() override;
    void mouseDown(const Event& event) override;
    void keyDown(const Event& event) override;

protected:
    explicit TextField(Rect frame);

    // The height when wrapped to `width` (insets included).
    double wrappedHeight(double width) const;

    // The text as shown (a secure field shows bullets).
    virtual std::string displayedText() const { return stringValue(); }
    AttributedString displayedAttributedText() const;
    // Room around the text inside a bezel or border.
    Size textInset() const;

private:
    void noteChange();
    void endEditing();

    std::string string_;
    std::optional<AttributedString> attributedString_;
    std::string placeholder_;
    std::optional<Color> textColor_;
    std::optional<Color> backgroundColor_;
    bool drawsBackground_ = true;
    bool bezeled_ = true;
    bool bordered_ = false;
    LineBreakMode lineBreakMode_ = LineBreakMode::byClipping;
    int maximumNumberOfLines_ = 1;
    std::optional<double> preferredMaxLayoutWidth_;
    bool editable_ = true;
    bool selectable_ = true;
    std::optional<EditableText> editor_;
    bool changedWhileEditing_ = false;
};

}  // namespace tallowmere::platform
