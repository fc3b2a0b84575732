#include "platform/ui/button.h"

#include <algorithm>
#include <cctype>

namespace tallowmere::platform {

namespace {

constexpr double markSize = 14;  // the box of a check box, the circle of a radio
constexpr double markGap = 4;
constexpr double imageGap = 4;

double bezelHeight(ControlSize size) {
    switch (size) {
    case ControlSize::large: return 28;
    case ControlSize::small: return 19;
    case ControlSize::mini: return 16;
    case ControlSize::regular: return 22;
    }
    return 22;
}

double horizontalPadding(ControlSize size) { return size == ControlSize::large ? 14 : size == ControlSize::regular ? 12 : 8; }

std::uint64_t significantModifiers(ModifierFlags flags) {
    return flags.rawValue &
           (ModifierFlags::shift | ModifierFlags::control | ModifierFlags::option | ModifierFlags::command);
}

}  // namespace

std::shared_ptr<Button> Button::make(std::string title) {
    auto button = std::shared_ptr<Button>(new Button({}));
    button->setTitle(std::move(title));
    return button;
}

std::shared_ptr<Button> Button::makeCheckBox(std::string title, bool on) {
    auto button = make(std::move(title));
    button->setButtonType(ButtonType::switchCheckBox);
    button->setState(on ? ControlState::on : ControlState::off);
    return button;
}

std::shared_ptr<Button> Button::makeRadio(std::string title, bool on) {
    auto button = make(std::move(title));
    button->setButtonType(ButtonType::radio);
    button->setState(on ? ControlState::on : ControlState::off);
    return button;
}

std::shared_ptr<Button> Button::makeImageButton(Image image) {
    auto button = make();
    button->setBordered(false);
    button->setImage(std::move(image));
    button->setImagePosition(ImagePosition::imageOnly);
    return button;
}

Button::Button(Rect frame) : Control(frame) {}

void Button::setTitle(std::string title) {
    title_ = std::move(title);
    attributedTitle_.reset();
    invalidateIntrinsicContentSize();
}

void Button::setAttributedTitle(std::optional<AttributedString> title) {
    if (title) title_ = title->text();
    attributedTitle_ = std::move(title);
    invalidateIntrinsicContentSize();
}

void Button::setImage(std::optional<Image> image) {
    image_ = std::move(image);
    invalidateIntrinsicContentSize();
}

void Button::setImagePosition(ImagePosition position) {
    imagePosition_ = position;
    invalidateIntrinsicContentSize();
}

void Button::setImageScaling(ImageScaling scaling) {
    imageScaling_ = scaling;
    setNeedsDisplay();
}

void Button::setContentTintColor(std::optional<Color> color) {
    contentTintColor_ = std::move(color);
    setNeedsDisplay();
}

void Button::setBezelColor(std::optional<Color> color) {
    bezelColor_ = std::move(color);
    setNeedsDisplay();
}

void Button::setButtonType(ButtonType type) {
    buttonType_ = type;
    if (type == ButtonType::switchCheckBox || type == ButtonType::radio) bordered_ = false;
    invalidateIntrinsicContentSize();
}

void Button::setBezelStyle(BezelStyle style) {
    bezelStyle_ = style;
    invalidateIntrinsicContentSize();
}

void Button::setBordered(bool bordered) {
    bordered_ = bordered;
    invalidateIntrinsicContentSize();
}

void Button::setState(ControlState state) {
    if (state == state_) return;
    state_ = state;
    setNeedsDisplay();
}

void Button::performClick() {
    if (!isEnabled()) return;
    advanceState();
    sendAction();
}

void Button::advanceState() {
    switch (buttonType_) {
    case ButtonType::switchCheckBox:
    case ButtonType::toggle:
    case ButtonType::pushOnPushOff:
    case ButtonType::onOff:
        if (state_ == ControlState::off) {
            setState(ControlState::on);
        } else if (state_ == ControlState::on) {
            setState(allowsMixedState ? ControlState::mixed : ControlState::off);
        } else {
            setState(allowsMixedState ? ControlState::off : ControlState::on);
        }
        break;
    case ButtonType::radio:
        setState(ControlState::on);
        turnOffSiblingRadios();
        break;
    default:
        break;
    }
}

// Radio buttons that share a superview form one group, so choosing one
// clears the others.
void Button::turnOffSiblingRadios() {
    auto parent = superview();
    if (!parent) return;
    for (const auto& sibling : parent->subviews()) {
        auto* radio = dynamic_cast<Button*>(sibling.get());
        if (radio && radio != this && radio->isRadio()) radio->setState(ControlState::off);
    }
}

std::string Button::accessibilityRole() const {
    if (isCheckBox()) return "AXCheckBox";
    if (isRadio()) return "AXRadioButton";
    return "AXButton";
}

AttributedString Button::displayedTitle() const {
    Color color = Color::system(SystemColor::controlText);
    if (bezelColor_ && bordered_) color = Color::white();
    if (contentTintColor_ && !bordered_ && !isCheckBox() && !isRadio()) color = *contentTintColor_;
    TextAttributes attributes;
    attributes.font = font();
    attributes.foregroundColor = color;
    return ControlDrawing::withDefaults(attributedTitle_.value_or(AttributedString(title_)), attributes, !isEnabled());
}

Size Button::intrinsicContentSize() const {
    const AttributedString titleText = displayedTitle();
    const bool showsTitle = !titleText.empty() && imagePosition_ != ImagePosition::imageOnly;
    const Size titleSize = showsTitle ? ControlDrawing::measure(titleText) : Size{};
    const bool showsImage = image_ && imagePosition_ != ImagePosition::noImage;
    const Size imageSize = showsImage ? image_->size() : Size{};

    if (isCheckBox() || isRadio()) {
        const double width = markSize + (showsTitle ? markGap + titleSize.width : 0);
        return {width, std::max({markSize + 2, titleSize.height, ControlDrawing::lineHeight(font())})};
    }
    const bool stacked = imagePosition_ == ImagePosition::imageAbove || imagePosition_ == ImagePosition::imageBelow;
    const bool overlaps = imagePosition_ == ImagePosition::imageOverlaps;
    double contentWidth, contentHeight;
    if (stacked) {
        contentWidth = std::max(titleSize.width, imageSize.width);
        contentHeight = titleSize.height + imageSize.height + (showsTitle && showsImage ? imageGap : 0);
    } else if (overlaps) {
        contentWidth = std::max(titleSize.width, imageSize.width);
        contentHeight = std::max(titleSize.height, imageSize.height);
    } else {
        contentWidth = titleSize.width + imageSize.width + (showsTitle && showsImage ? imageGap : 0);
        contentHeight = std::max(titleSize.height, imageSize.height);
    }
    if (!bordered_) return {contentWidth + (showsTitle ? 4 : 0), contentHeight};
    const double height = stacked ? contentHeight + 8 : std::max(bezelHeight(controlSize()), contentHeight + 4);
    if (bezelStyle_ == BezelStyle::circular || bezelStyle_ == BezelStyle::helpButton)
        return {std::max(height, contentWidth + 8), height};
    return {contentWidth + 2 * horizontalPadding(controlSize()), height};
}

double Button::narrowestWidth() const {
    const double intrinsic = intrinsicContentSize().width;
    if (isCheckBox() || isRadio()) return intrinsic;
    const bool showsTitle = !displayedTitle().empty() && imagePosition_ != ImagePosition::imageOnly;
    if (!bordered_) return intrinsic - (showsTitle ? 4 : 0);
    if (bezelStyle_ == BezelStyle::circular || bezelStyle_ == BezelStyle::helpButton) return intrinsic;
    return intrinsic - horizontalPadding(controlSize());
}

void Button::drawMark(Canvas& canvas, Rect box) const {
    canvas.save();
    const bool on = state_ == ControlState::on;
    const bool mixed = state_ == ControlState::mixed;
    const Color accent = Color::system(SystemColor::controlAccent);
    const Color face = (on || mixed) ? accent : Color::system(SystemColor::controlBackground);
    canvas.setFillColor(enabledColor(isHighlighted() ? face.blended(0.2, Color::black()) : face));
    canvas.setStrokeColor(enabledColor(Color::system(SystemColor::separator)));
    canvas.setLineWidth(1);
    const Path shape = isRadio() ? Path::ellipse(box) : Path::roundedRect(box, 3);
    canvas.fill(shape);
    canvas.stroke(isRadio() ? Path::ellipse(box.insetBy(0.5, 0.5)) : Path::roundedRect(box.insetBy(0.5, 0.5), 2.5));
    canvas.setColor(enabledColor(Color::white()));
    if (isRadio() && on) {
        canvas.fillEllipse(box.insetBy(box.width() * 0.32, box.height() * 0.32));
    } else if (mixed) {
        canvas.setLineWidth(2);
        canvas.strokeLine({box.minX() + 3.5, box.midY()}, {box.maxX() - 3.5, box.midY()});
    } else if (on) {
        canvas.setLineWidth(2);
        canvas.setLineCap(LineCap::round);
        canvas.setLineJoin(LineJoin::round);
        Path check;
        // Drawn in y-up terms, mirrored for a flipped view.
        const auto at = [&](double fx, double fy) {
            return Point{box.minX() + fx * box.width(), isFlipped() ? box.maxY() - fy * box.height() : box.minY() + fy * box.height()};
        };
        check.moveTo(at(0.22, 0.5));
        check.lineTo(at(0.42, 0.28));
        check.lineTo(at(0.78, 0.72));
        canvas.stroke(check);
    }
    canvas.restore();
}

void Button::draw(Canvas& canvas, Rect dirty) {
    (void)dirty;
    const Rect b = bounds();
    const AttributedString titleText = displayedTitle();
    const bool showsTitle = !titleText.empty() && imagePosition_ != ImagePosition::imageOnly;
    const bool showsImage = image_ && imagePosition_ != ImagePosition::noImage;

    if (isCheckBox() || isRadio()) {
        const Rect box{b.minX() + 1, b.midY() - markSize / 2, markSize, markSize};
        drawMark(canvas, box);
        if (showsTitle) {
            const Rect titleBox{box.maxX() + markGap, b.minY(), std::max(0.0, b.maxX() - box.maxX() - markGap), b.height()};
            ControlDrawing::drawText(canvas, titleText, titleBox, TextAlignment::left, isFlipped());
        }
        return;
    }

    const bool pressedLook = isHighlighted() || (isOn() && (buttonType_ == ButtonType::pushOnPushOff ||
                                                            buttonType_ == ButtonType::toggle || buttonType_ == ButtonType::onOff));
    if (bordered_) {
        const double radius = (bezelStyle_ == BezelStyle::circular || bezelStyle_ == BezelStyle::helpButton ||
                               bezelStyle_ == BezelStyle::roundRect || bezelStyle_ == BezelStyle::inlineBadge)
                                  ? b.height() / 2
                                  : 5;
        ControlDrawing::drawBezel(canvas, b.insetBy(0.5, 0.5), radius, pressedLook, isEnabled(), bezelColor_);
    } else if (pressedLook) {
        canvas.save();
        canvas.setFillColor(Color::system(SystemColor::label).withAlphaComponent(0.1));
        canvas.fill(Path::roundedRect(b, 5));
        canvas.restore();
    }

    const Rect content = bordered_ ? b.insetBy(horizontalPadding(controlSize()) / 2, 2) : b;
    const Size titleSize = showsTitle ? ControlDrawing::measure(titleText) : Size{};
    const Color tint = enabledColor(contentTintColor_.value_or(Color::system(SystemColor::controlText)));
    if (showsImage && !showsTitle) {
        ControlDrawing::drawImage(canvas, *image_, content, imageScaling_, tint);
        return;
    }
    if (!showsImage) {
        ControlDrawing::drawText(canvas, titleText, content, alignment() == TextAlignment::natural ? TextAlignment::center : alignment(),
                                 isFlipped());
        return;
    }
    const Size imageSize = ControlDrawing::imageRect(image_->size(), content, imageScaling_).size;
    switch (imagePosition_) {
    case ImagePosition::imageAbove:
    case ImagePosition::imageBelow: {
        const double total = imageSize.height + imageGap + titleSize.height;
        const double top = content.midY() + total / 2;  // in y-up terms of the content box
        const bool imageFirst = (imagePosition_ == ImagePosition::imageAbove) != isFlipped();
        const Rect first{content.minX(), top - (imageFirst ? imageSize.height : titleSize.height), content.width(),
                         imageFirst ? imageSize.height : titleSize.height};
        const Rect second{content.minX(), first.minY() - imageGap - (imageFirst ? titleSize.height : imageSize.height),
                          content.width(), imageFirst ? titleSize.height : imageSize.height};
        ControlDrawing::drawImage(canvas, *image_, imageFirst ? first : second, imageScaling_, tint);
        ControlDrawing::drawText(canvas, titleText, imageFirst ? second : first, TextAlignment::center, isFlipped());
        break;
    }
    case ImagePosition::imageOverlaps:
        ControlDrawing::drawImage(canvas, *image_, content, imageScaling_, tint);
        ControlDrawing::drawText(canvas, titleText, content, TextAlignment::center, isFlipped());
        break;
    default: {
        const bool imageRight = imagePosition_ == ImagePosition::imageRight || imagePosition_ == ImagePosition::imageTrailing;
        const double total = imageSize.width + imageGap + titleSize.width;
        const double left = content.midX() - total / 2;
        const Rect imageBox{imageRight ? left + titleSize.width + imageGap : left, content.minY(), imageSize.width, content.height()};
        const Rect titleBox{imageRight ? left : left + imageSize.width + imageGap, content.minY(), titleSize.width, content.height()};
        ControlDrawing::drawImage(canvas, *image_, imageBox, imageScaling_, tint);
        ControlDrawing::drawText(canvas, titleText, titleBox, TextAlignment::left, isFlipped());
        break;
    }
    }
}

void Button::mouseDown(const Event& event) {
    (void)event;
    if (!isEnabled()) return;
    tracking_ = true;
    setHighlighted(true);
}

void Button::mouseDragged(const Event& event) {
    if (!tracking_) return;
    setHighlighted(bounds().contains(locationInView(event)));
}

void Button::mouseUp(const Event& event) {
    if (!tracking_) return;
    tracking_ = false;
    setHighlighted(false);
    if (bounds().contains(locationInView(event))) performClick();
}

bool Button::performKeyEquivalent(const Event& event) {
    if (keyEquivalent_.empty() || !isEnabled() || isHiddenOrHasHiddenAncestor()) return false;
    if (significantModifiers(event.modifierFlags.deviceIndependent()) !=
        significantModifiers(keyEquivalentModifierMask_))
        return false;
    bool matches;
    if (keyEquivalent_ == "\r") {
        matches = event.keyCode == KeyCode::returnKey || event.keyCode == KeyCode::keypadEnter;
    } else if (keyEquivalent_ == "\x1b") {
        matches = event.keyCode == KeyCode::escape;
    } else {
        const std::string& typed = event.charactersIgnoringModifiers.empty() ? event.characters
                                                                             : event.charactersIgnoringModifiers;
        matches = typed == keyEquivalent_ ||
                  (typed.size() == 1 && keyEquivalent_.size() == 1 &&
                   std::tolower(static_cast<unsigned char>(typed[0])) == std::tolower(static_cast<unsigned char>(keyEquivalent_[0])));
    }
    if (!matches) return false;
    performClick();
    return true;
}

}  // namespace tallowmere::platform
