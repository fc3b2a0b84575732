#include "platform/ui/control.h"

namespace tallowmere::platform {

double fontSizeFor(ControlSize size) {
    switch (size) {
    case ControlSize::small: return Font::smallSystemFontSize;
    case ControlSize::mini: return 9;
    case ControlSize::regular:
    case ControlSize::large: return Font::systemFontSize;
    }
    return Font::systemFontSize;
}

Control::Control(Rect frame) : View(frame) { setTag(0); }

void Control::setEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (!enabled) highlighted_ = false;
    setNeedsDisplay();
}

void Control::setHighlighted(bool highlighted) {
    if (highlighted == highlighted_) return;
    highlighted_ = highlighted;
    setNeedsDisplay();
}

void Control::setControlSize(ControlSize size) {
    if (size == controlSize_) return;
    controlSize_ = size;
    invalidateIntrinsicContentSize();
}

Font Control::font() const { return font_ ? *font_ : Font::systemFont(fontSizeFor(controlSize_)); }

void Control::setFont(std::optional<Font> font) {
    font_ = std::move(font);
    invalidateIntrinsicContentSize();
}

void Control::setAlignment(TextAlignment alignment) {
    alignment_ = alignment;
    setNeedsDisplay();
}

bool Control::sendAction() {
    if (!onAction) return false;
    // Copies keep the control and its action alive through an action that
    // removes the control or replaces `onAction`.
    auto self = weak_from_this().lock();
    auto action = onAction;
    action(*this);
    return true;
}

Color Control::enabledColor(const Color& color) const {
    return enabled_ ? color : color.withAlphaComponent(color.alpha() * disabledAlphaFactor);
}

}  // namespace tallowmere::platform
