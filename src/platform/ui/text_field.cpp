#include "platform/ui/text_field.h"

#include <algorithm>

#include "platform/base/text.h"
#include "platform/gfx/canvas.h"
#include "platform/ui/control_drawing.h"

namespace tallowmere::platform {

std::shared_ptr<TextField> TextField::make(std::string text) {
    auto field = std::shared_ptr<TextField>(new TextField({}));
    field->setStringValue(std::move(text));
    return field;
}

TextField::TextField(Rect frame) : Control(frame) {}

const std::string& TextField::stringValue() const { return string_; }

void TextField::setStringValue(std::string value) {
    string_ = Text::repairUtf8(value);
    attributedString_.reset();
    if (editor_) editor_->setText(string_);
    invalidateIntrinsicContentSize();
}

void TextField::setAttributedStringValue(std::optional<AttributedString> value) {
    string_ = value ? Text::repairUtf8(value->text()) : std::string();
    attributedString_ = std::move(value);
    if (editor_) editor_->setText(string_);
    invalidateIntrinsicContentSize();
}

void TextField::setPlaceholderString(std::string placeholder) {
    placeholder_ = std::move(placeholder);
    invalidateIntrinsicContentSize();
}

void TextField::setTextColor(std::optional<Color> color) {
    textColor_ = std::move(color);
    setNeedsDisplay();
}

void TextField::setBackgroundColor(std::optional<Color> color) {
    backgroundColor_ = std::move(color);
    setNeedsDisplay();
}

void TextField::setDrawsBackground(bool draws) {
    drawsBackground_ = draws;
    setNeedsDisplay();
}

void TextField::setBezeled(bool bezeled) {
    bezeled_ = bezeled;
    invalidateIntrinsicContentSize();
}

void TextField::setBordered(bool bordered) {
    bordered_ = bordered;
    invalidateIntrinsicContentSize();
}

void TextField::setLineBreakMode(LineBreakMode mode) {
    lineBreakMode_ = mode;
    invalidateIntrinsicContentSize();
}

void TextField::setMaximumNumberOfLines(int lines) {
    maximumNumberOfLines_ = std::max(0, lines);
    invalidateIntrinsicContentSize();
}

void TextField::setPreferredMaxLayoutWidth(std::optional<double> width) {
    preferredMaxLayoutWidth_ = width;
    invalidateIntrinsicContentSize();
}

bool TextField::wraps() const {
    return maximumNumberOfLines_ != 1 &&
           (lineBreakMode_ == LineBreakMode::byWordWrapping || lineBreakMode_ == LineBreakMode::byCharWrapping);
}

void TextField::setEditable(bool editable) {
    editable_ = editable;
    if (!editable && editor_) endEditing();
    setNeedsDisplay();
}

std::optional<TextRange> TextField::selectedRange() const {
    if (!editor_) return std::nullopt;
    return editor_->selectedRange();
}

void TextField::setSelectedRange(TextRange range) {
    if (!editor_) return;
    editor_->setSelectedRange(range);
    setNeedsDisplay();
}

void TextField::insertText(std::string_view text) {
    if (!editor_) return;
    auto self = weak_from_this().lock();
    editor_->insert(text);
    noteChange();
}

std::string TextField::accessibilityRole() const { return isEditable() ? "AXTextField" : "AXStaticText"; }

Size TextField::textInset() const {
    if (bezeled_) return {4, 3};
    if (bordered_) return {3, 2};
    return {2, 0};
}

AttributedString TextField::displayedAttributedText() const {
    TextAttributes defaults;
    defaults.font = font();
    defaults.foregroundColor = textColor_.value_or(Color::system(editable_ ? SystemColor::text : SystemColor::label));
    const bool styled = attributedString_ && !editor_;
    return ControlDrawing::withDefaults(styled ? *attributedString_ : AttributedString(displayedText()), defaults, !isEnabled());
}

Size TextField::intrinsicContentSize() const {
    const Size inset = textInset();
    const AttributedString text = displayedAttributedText();
    const Size unwrapped = ControlDrawing::measure(text);
    double width = unwrapped.width;
    if (editable_ && !placeholder_.empty()) width = std::max(width, ControlDrawing::measure(placeholder_, font()).width);
    if (wraps() && preferredMaxLayoutWidth_ && width > *preferredMaxLayoutWidth_ - 2 * inset.width) {
        const double capped = std::max(0.0, *preferredMaxLayoutWidth_ - 2 * inset.width) + 2 * inset.width;
        return {capped, wrappedHeight(capped)};
    }
    const double lineHeight = ControlDrawing::lineHeight(font());
    double height;
    if (wraps()) {
        // At its whole width a wrapping text breaks only where it has line
        // breaks: as tall as unwrapped, or as its first lines when limited.
        if (text.empty()) {
            height = lineHeight;
        } else if (maximumNumberOfLines_ > 0) {
            height = ControlDrawing::measureLines(text, std::nullopt, maximumNumberOfLines_).height;
        } else {
            height = unwrapped.height;
        }
    } else {
        height = string_.empty() ? lineHeight : std::max(lineHeight, unwrapped.height);
    }
    return {width + 2 * inset.width, sizeConstraints().apply(LayoutAxis::vertical, height + 2 * inset.height)};
}

double TextField::wrappedHeight(double width) const {
    const Size inset = textInset();
    const double lineHeight = ControlDrawing::lineHeight(font());
    const AttributedString text = displayedAttributedText();
    const double height = text.empty() ? lineHeight
                          : ControlDrawing::measureLines(text, std::max(1.0, width - 2 * inset.width),
                                                         maximumNumberOfLines_)
                                .height;
    return sizeConstraints().apply(LayoutAxis::vertical, height + 2 * inset.height);
}

double TextField::measureFittingHeightForWidth(double width) const {
    // One line, whatever the width; a wrapping text given at least its
    // whole width does not wrap. Both are the measured intrinsic height.
    const Size intrinsic = cachedIntrinsicContentSize();
    if (!wraps()) return intrinsic.height;
    const bool capped = preferredMaxLayoutWidth_ && intrinsic.width >= *preferredMaxLayoutWidth_;
    if (!capped && width >= intrinsic.width) return intrinsic.height;
    return wrappedHeight(width);
}

void TextField::draw(Canvas& canvas, Rect dirty) {
    (void)dirty;
    const Rect b = bounds();
    canvas.save();
    if (drawsBackground_ && (backgroundColor_ || bezeled_)) {
        canvas.setFillColor(backgroundColor_.value_or(Color::system(SystemColor::textBackground)));
        canvas.fillRect(b);
    }
    if (bezeled_ || bordered_) {
        canvas.setStrokeColor(isEditing() ? Color::system(SystemColor::controlAccent) : Color::system(SystemColor::separator));
        canvas.setLineWidth(1);
        canvas.strokeRect(b.insetBy(0.5, 0.5));
    }
    const Size inset = textInset();
    const Rect textBox = b.insetBy(inset.width, inset.height);
    const TextAlignment alignment = this->alignment() == TextAlignment::natural ? TextAlignment::left : this->alignment();
    const bool flipped = isFlipped();

    if (string_.empty() && !placeholder_.empty()) {
        TextAttributes attributes;
        attributes.font = font();
        attributes.foregroundColor = Color::system(SystemColor::placeholderText);
        ControlDrawing::drawText(canvas, AttributedString(placeholder_, attributes), textBox, alignment, flipped);
    }
    AttributedString text = displayedAttributedText();
    if (!wraps() && !editor_ && !attributedString_ && lineBreakMode_ == LineBreakMode::byTruncatingTail) {
        TextAttributes attributes = text.attributesAt(0);
        text = AttributedString(ControlDrawing::truncatedToWidth(text.text(), font(), textBox.width()), attributes);
    }
    if (editor_) {
        // The selection, or the caret, of a single-line editor.
        const TextRange selection = editor_->selectedRange();
        const std::string shown = displayedText();
        const auto xAt = [&](std::size_t offset) {
            const std::size_t clamped = std::min(offset, shown.size());
            return textBox.minX() + ControlDrawing::measure(std::string_view(shown).substr(0, clamped), font()).width;
        };
        const double lineHeight = ControlDrawing::lineHeight(font());
        const double top = textBox.midY() - lineHeight / 2;
        if (selection.length > 0) {
            canvas.setFillColor(Color::system(SystemColor::selectedContentBackground).withAlphaComponent(0.35));
            canvas.fillRect({xAt(selection.location), top, xAt(selection.end()) - xAt(selection.location), lineHeight});
        } else {
            canvas.setStrokeColor(Color::system(SystemColor::text));
            canvas.setLineWidth(1);
            const double x = xAt(selection.location) + 0.5;
            canvas.strokeLine({x, top}, {x, top + lineHeight});
        }
    }
    canvas.clipToRect(b);
    ControlDrawing::drawText(canvas, text, textBox, alignment, flipped, wraps(), wraps());
    canvas.restore();
}

bool TextField::becomeFirstResponder() {
    if (!isEnabled() || !isSelectable()) return false;
    if (editable_) {
        editor_.emplace(string_);
        editor_->selectAll();
        changedWhileEditing_ = false;
        setNeedsDisplay();
    }
    return true;
}

bool TextField::resignFirstResponder() {
    endEditing();
    return true;
}

void TextField::endEditing() {
    if (!editor_) return;
    auto self = weak_from_this().lock();
    editor_.reset();
    changedWhileEditing_ = false;
    setNeedsDisplay();
    if (onTextDidEndEditing) onTextDidEndEditing(*this);
}

void TextField::noteChange() {
    string_ = editor_->text();
    attributedString_.reset();
    invalidateIntrinsicContentSize();
    if (!changedWhileEditing_) {
        changedWhileEditing_ = true;
        if (onTextDidBeginEditing) onTextDidBeginEditing(*this);
    }
    if (onTextDidChange) onTextDidChange(*this);
}

void TextField::mouseDown(const Event& event) {
    // A label that cannot be selected lets the click through to what holds it.
    if (!isEnabled() || !isSelectable()) Control::mouseDown(event);
}

void TextField::keyDown(const Event& event) {
    if (!editor_ || !isEnabled()) {
        Control::keyDown(event);
        return;
    }
    auto self = weak_from_this().lock();
    switch (editor_->handleKey(event, false)) {
    case TextEditOutcome::changed:
        noteChange();
        return;
    case TextEditOutcome::moved:
        setNeedsDisplay();
        return;
    case TextEditOutcome::insertNewline: {
        // Return ends this round of editing; the field keeps the keys with
        // its text selected, as the platform's fields do.
        changedWhileEditing_ = false;
        editor_->selectAll();
        setNeedsDisplay();
        if (onTextDidEndEditing) onTextDidEndEditing(*this);
        if (!sendAction()) Control::keyDown(event);
        return;
    }
    case TextEditOutcome::ignored:
    case TextEditOutcome::insertTab:
    case TextEditOutcome::insertBacktab:
    case TextEditOutcome::cancel:
        Control::keyDown(event);
        return;
    }
}

}  // namespace tallowmere::platform
