#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/gfx/color.h"
#include "platform/gfx/font.h"
#include "platform/ui/view.h"

namespace tallowmere::platform {

// On, off or mixed, with the platform's raw values.
enum class ControlState { mixed = -1, off = 0, on = 1 };

// The platform's control sizes; each has its own font size and height.
enum class ControlSize { regular, small, mini, large };

enum class TextAlignment { left, right, center, justified, natural };

// The font size that goes with a control size.
double fontSizeFor(ControlSize size);

// How much of its colour's alpha a disabled control keeps.
inline constexpr double disabledAlphaFactor = 0.45;

// A view a person operates: it is enabled or not, has a font and a control
// size, and tells its owner through `onAction` when the person used it.
// A disabled control ignores the mouse and keys and draws dimmed.
class Control : public View {
public:
    using Action = std::function<void(Control& sender)>;

    // Runs when the person used the control (a click, a choice, a change of
    // value); empty means no action.
    Action onAction;

    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);
    bool isHighlighted() const { return highlighted_; }
    void setHighlighted(bool highlighted);

    ControlSize controlSize() const { return controlSize_; }
    void setControlSize(ControlSize size);
    // The font set, else the system font of the control size.
    Font font() const;
    void setFont(std::optional<Font> font);
    TextAlignment alignment() const { return alignment_; }
    void setAlignment(TextAlignment alignment);
    // Sends the action while the person drags, not only at the end.
    bool isContinuous() const { return continuous_; }
    void setContinuous(bool continuous) { continuous_ = continuous; }

    // Runs `onAction` with this control as sender; false when there is none.
    bool sendAction();

protected:
    explicit Control(Rect frame);

    // The colour text and glyphs take: `color` as given when enabled,
    // dimmed when not.
    Color enabledColor(const Color& color) const;

private:
    bool enabled_ = true;
    bool highlighted_ = false;
    ControlSize controlSize_ = ControlSize::regular;
    std::optional<Font> font_;
    TextAlignment alignment_ = TextAlignment::natural;
    bool continuous_ = false;
};

}  // namespace tallowmere::platform
