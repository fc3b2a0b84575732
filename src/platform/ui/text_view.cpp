#include "platform/ui/text_view.h"

#include <algorithm>

#include "platform/gfx/canvas.h"
#include "platform/ui/control_drawing.h"

namespace tallowmere::platform {

std::shared_ptr<TextView> TextView::make(Rect frame) { return std::shared_ptr<TextView>(new TextView(frame)); }

TextView::TextView(Rect frame) : View(frame) { editor_.setSelectedRange({0, 0}); }

void TextView::setString(std::string text) {
    editor_.setText(std::move(text));
    invalidateIntrinsicContentSize();
}

void TextView::setSelectedRange(TextRange range) {
    editor_.setSelectedRange(range);
    setNeedsDisplay();
}

void TextView::insertText(std::string_view text) {
    if (!editable_) return;
    auto self = weak_from_this().lock();
    editor_.insert(text);
    noteChange();
}

void TextView::setFont(std::optional<Font> font) {
    font_ = std::move(font);
    invalidateIntrinsicContentSize();
}

void TextView::setTextColor(std::optional<Color> color) {
    textColor_ = std::move(color);
    setNeedsDisplay();
}

void TextView::setBackgroundColor(std::optional<Color> color) {
    backgroundColor_ = std::move(color);
    setNeedsDisplay();
}

void TextView::setAlignment(TextAlignment alignment) {
    alignment_ = alignment;
    setNeedsDisplay();
}

void TextView::setTextContainerInset(Size inset) {
    inset_ = {std::max(0.0, inset.width), std::max(0.0, inset.height)};
    invalidateIntrinsicContentSize();
}

void TextView::setEditable(bool editable) {
    editable_ = editable;
    setNeedsDisplay();
}

AttributedString TextView::attributedText() const {
    TextAttributes attributes;
    attributes.font = font();
    attributes.foregroundColor = textColor_.value_or(Color::system(SystemColor::text));
    return AttributedString(editor_.text(), attributes);
}

Size TextView::usedTextSize() const {
    const double width = std::max(1.0, bounds().width() - 2 * inset_.width);
    if (editor_.text().empty()) return {0, ControlDrawing::lineHeight(font())};
    return ControlDrawing::measure(attributedText(), width);
}

double TextView::measureFittingHeightForWidth(double width) const {
    const double textWidth = std::max(1.0, width - 2 * inset_.width);
    const double textHeight = editor_.text().empty() ? ControlDrawing::lineHeight(font())
                                                     : ControlDrawing::measure(attributedText(), textWidth).height;
    return sizeConstraints().apply(LayoutAxis::vertical, textHeight + 2 * inset_.height);
}

void TextView::draw(Canvas& canvas, Rect dirty) {
    (void)dirty;
    const Rect b = bounds();
    canvas.save();
    if (drawsBackground) {
        canvas.setFillColor(backgroundColor_.value_or(Color::system(SystemColor::textBackground)));
        canvas.fillRect(b);
    }
    const Rect textBox = b.insetBy(inset_.width, inset_.height);
    const TextAlignment alignment = alignment_ == TextAlignment::natural ? TextAlignment::left : alignment_;
    ControlDrawing::drawText(canvas, attributedText(), textBox, alignment, true, true, true);
    if (isFirstResponder() && editable_ && editor_.selectedRange().length == 0) {
        // The caret after the last line's text when it sits at the end; at
        // the top-left otherwise (no per-glyph positions here).
        const double lineHeight = ControlDrawing::lineHeight(font());
        const bool atEnd = editor_.caret() == editor_.text().size() && !editor_.text().empty();
        const Size used = usedTextSize();
        const double top = textBox.minY() + (atEnd ? used.height - lineHeight : 0);
        canvas.setStrokeColor(Color::system(SystemColor::text));
        canvas.setLineWidth(1);
        canvas.strokeLine({textBox.minX() + 0.5, top}, {textBox.minX() + 0.5, top + lineHeight});
    }
    canvas.restore();
}

bool TextView::becomeFirstResponder() {
    if (!isSelectable()) return false;
    changedWhileFocused_ = false;
    setNeedsDisplay();
    return true;
}

bool TextView::resignFirstResponder() {
    auto self = weak_from_this().lock();
    const bool changed = changedWhileFocused_;
    changedWhileFocused_ = false;
    setNeedsDisplay();
    if (changed && onTextDidEndEditing) onTextDidEndEditing(*this);
    return true;
}

void TextView::noteChange() {
    invalidateIntrinsicContentSize();
    if (!changedWhileFocused_) {
        changedWhileFocused_ = true;
        if (onTextDidBeginEditing) onTextDidBeginEditing(*this);
    }
    if (onTextDidChange) onTextDidChange(*this);
}

void TextView::mouseDown(const Event& event) {
    if (!isSelectable()) View::mouseDown(event);
}

void TextView::keyDown(const Event& event) {
    if (!editable_) {
        View::keyDown(event);
        return;
    }
    auto self = weak_from_this().lock();
    switch (editor_.handleKey(event, true)) {
    case TextEditOutcome::changed:
        noteChange();
        return;
    case TextEditOutcome::moved:
        setNeedsDisplay();
        return;
    default:
        View::keyDown(event);
        return;
    }
}

}  // namespace tallowmere::platform
