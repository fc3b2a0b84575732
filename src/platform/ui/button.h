#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/gfx/attributed_string.h"
#include "platform/gfx/image.h"
#include "platform/ui/control.h"
#include "platform/ui/control_drawing.h"

namespace tallowmere::platform {

// How a click changes a button's state. Momentary kinds keep it; the others
// flip it; a radio button turns on and turns its sibling radios off.
enum class ButtonType {
    momentaryLight,
    pushOnPushOff,
    toggle,
    switchCheckBox,  // a check box
    radio,
    momentaryChange,
    onOff,
    momentaryPushIn,
};

// The look of a bordered button's bezel (borderless buttons have none).
enum class BezelStyle {
    push,  // the standard rounded push button
    flexiblePush,
    circular,
    helpButton,
    smallSquare,
    disclosure,
    texturedRounded,
    recessed,
    inlineBadge,
    roundRect,
    rounded = push,
};

// Where the image goes relative to the title.
enum class ImagePosition { noImage, imageOnly, imageLeft, imageRight, imageBelow, imageAbove, imageOverlaps, imageLeading, imageTrailing };

// A push button, check box or radio button: a title and/or image; a click
// (press and release inside) runs `onAction` once. Key equivalents such as
// Return ("\r") and Escape ("\x1b") press it from the keyboard.
class Button : public Control {
public:
    // A rounded push button.
    static std::shared_ptr<Button> make(std::string title = {});
    static std::shared_ptr<Button> makeCheckBox(std::string title, bool on = false);
    static std::shared_ptr<Button> makeRadio(std::string title, bool on = false);
    // A borderless button showing only `image`.
    static std::shared_ptr<Button> makeImageButton(Image image);

    // --- Content --------------------------------------------------------------
    const std::string& title() const { return title_; }
    void setTitle(std::string title);
    // Styled title shown instead of the plain one when set; setting it sets
    // the plain title to its text.
    const std::optional<AttributedString>& attributedTitle() const { return attributedTitle_; }
    void setAttributedTitle(std::optional<AttributedString> title);
    const std::optional<Image>& image() const { return image_; }
    void setImage(std::optional<Image> image);
    ImagePosition imagePosition() const { return imagePosition_; }
    void setImagePosition(ImagePosition position);
    ImageScaling imageScaling() const { return imageScaling_; }
    void setImageScaling(ImageScaling scaling);
    // The image sits right beside the title rather than at the bezel's edge.
    bool imageHugsTitle = false;
    // Tints template images and the title of a borderless button.
    const std::optional<Color>& contentTintColor() const { return contentTintColor_; }
    void setContentTintColor(std::optional<Color> color);
    // Colour of a bordered button's bezel (the accent for a default button).
    const std::optional<Color>& bezelColor() const { return bezelColor_; }
    void setBezelColor(std::optional<Color> color);

    // --- Kind -----------------------------------------------------------------
    ButtonType buttonType() const { return buttonType_; }
    void setButtonType(ButtonType type);
    BezelStyle bezelStyle() const { return bezelStyle_; }
    void setBezelStyle(BezelStyle style);
    bool isBordered() const { return bordered_; }
    void setBordered(bool bordered);
    bool isCheckBox() const { return buttonType_ == ButtonType::switchCheckBox; }
    bool isRadio() const { return buttonType_ == ButtonType::radio; }

    // --- State ----------------------------------------------------------------
    ControlState state() const { return state_; }
    // Redraws; sends no action.
    void setState(ControlState state);
    bool isOn() const { return state_ == ControlState::on; }
    // A click may also reach the mixed state (off, on, mixed, off ...).
    bool allowsMixedState = false;

    // --- Keyboard -------------------------------------------------------------
    const std::string& keyEquivalent() const { return keyEquivalent_; }
    void setKeyEquivalent(std::string key) { keyEquivalent_ = std::move(key); }
    ModifierFlags keyEquivalentModifierMask() const { return keyEquivalentModifierMask_; }
    void setKeyEquivalentModifierMask(ModifierFlags mask) { keyEquivalentModifierMask_ = mask; }

    // Does what a click does: advances the state and runs the action, once.
    // Nothing when disabled.
    void performClick();

    // --- View -----------------------------------------------------------------
    std::string accessibilityRole() const override;
    Size intrinsicContentSize() const override;
    // The narrowest width that still shows the title and image whole: a
    // bezel gives up half its side margins, a borderless button all of them,
    // before the content is cut.
    double narrowestWidth() const;
    void draw(Canvas& canvas, Rect dirty) override;
    void mouseDown(const Event& event) override;
    void mouseDragged(const Event& event) override;
    void mouseUp(const Event& event) override;
    bool performKeyEquivalent(const Event& event) override;

protected:
    explicit Button(Rect frame);

    // The title as drawn, with the font, colour and alignment applied.
    AttributedString displayedTitle() const;

private:
    void advanceState();
    void turnOffSiblingRadios();
    void drawMark(Canvas& canvas, Rect box) const;

    std::string title_;
    std::optional<AttributedString> attributedTitle_;
    std::optional<Image> image_;
    ImagePosition imagePosition_ = ImagePosition::imageLeading;
    ImageScaling imageScaling_ = ImageScaling::proportionallyDown;
    std::optional<Color> contentTintColor_;
    std::optional<Color> bezelColor_;
    ButtonType buttonType_ = ButtonType::momentaryPushIn;
    BezelStyle bezelStyle_ = BezelStyle::push;
    bool bordered_ = true;
    ControlState state_ = ControlState::off;
    std::string keyEquivalent_;
    ModifierFlags keyEquivalentModifierMask_;
    bool tracking_ = false;
};

}  // namespace tallowmere::platform
