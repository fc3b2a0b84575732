#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/gfx/color.h"
#include "platform/gfx/font.h"
#include "platform/ui/control.h"
#include "platform/ui/editable_text.h"
#include "platform/ui/view.h"

namespace tallowmere::platform {

// A multi-line text editor (plain text), usually the document of a scroll
// view. While it has the keys, typing edits it (Return and Tab are text);
// every change by the person fires `onTextDidChange`. Its selection stays
// when it loses the keys. Flipped: text runs from the top.
class TextView : public View {
public:
    using TextCallback = std::function<void(TextView& view)>;

    static std::shared_ptr<TextView> make(Rect frame = {});

    TextCallback onTextDidBeginEditing;  // the first change after taking the keys
    TextCallback onTextDidChange;
    TextCallback onTextDidEndEditing;  // it lost the keys after taking them

    const std::string& string() const { return editor_.text(); }
    // Replaces the text (no callback fires); the caret goes to the end.
    void setString(std::string text);
    // The selection in UTF-8 bytes.
    TextRange selectedRange() const { return editor_.selectedRange(); }
    void setSelectedRange(TextRange range);
    // Puts `text` in place of the selection as typing does (callbacks fire);
    // nothing when not editable.
    void insertText(std::string_view text);

    Font font() const { return font_.value_or(Font::systemFont(Font::systemFontSize)); }
    void setFont(std::optional<Font> font);
    const std::optional<Color>& textColor() const { return textColor_; }
    void setTextColor(std::optional<Color> color);
    const std::optional<Color>& backgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(std::optional<Color> color);
    bool drawsBackground = true;
    TextAlignment alignment() const { return alignment_; }
    void setAlignment(TextAlignment alignment);
    // Room between the bounds and the text, on each side.
    Size textContainerInset() const { return inset_; }
    void setTextContainerInset(Size inset);

    bool isEditable() const { return editable_; }
    void setEditable(bool editable);
    bool isSelectable() const { return selectable_ || editable_; }
    void setSelectable(bool selectable) { selectable_ = selectable; }
    // Kept for callers that set them: the editor is plain text and makes no
    // substitutions of its own.
    bool isRichText = false;
    bool isAutomaticQuoteSubstitutionEnabled = false;
    bool isAutomaticDashSubstitutionEnabled = false;
    bool isAutomaticSpellingCorrectionEnabled = false;
    bool isContinuousSpellCheckingEnabled = false;
    bool allowsUndo = false;

    // The size the text takes when wrapped to the view's width (less insets).
    Size usedTextSize() const;

    std::string accessibilityRole() const override { return "AXTextArea"; }
    bool isFlipped() const override { return true; }
    double measureFittingHeightForWidth(double width) const override;
    void draw(Canvas& canvas, Rect dirty) override;
    bool acceptsFirstResponder() const override { return isSelectable(); }
    bool becomeFirstResponder() override;
    bool resignFirstResponder() override;
    void keyDown(const Event& event) override;
    void mouseDown(const Event& event) override;

protected:
    explicit TextView(Rect frame);

private:
    void noteChange();
    AttributedString attributedText() const;

    EditableText editor_;
    std::optional<Font> font_;
    std::optional<Color> textColor_;
    std::optional<Color> backgroundColor_;
    TextAlignment alignment_ = TextAlignment::natural;
    Size inset_;
    bool editable_ = true;
    bool selectable_ = true;
    bool changedWhileFocused_ = false;
};

}  // namespace tallowmere::platform
