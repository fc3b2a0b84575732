#include "platform/ui/status_bar_button.h"

#include "platform/gfx/canvas.h"
#include "platform/gfx/text_measurer.h"
#include "platform/ui/menu.h"
#include "platform/ui/status_item.h"
#include "platform/ui/ui_trace.h"

namespace tallowmere::platform {

StatusBarButton::StatusBarButton(Private, std::weak_ptr<StatusItem> item) : Button(Rect{}), item_(std::move(item)) {
    setBordered(false);
    setImagePosition(ImagePosition::imageLeading);
}

std::shared_ptr<StatusBarButton> StatusBarButton::make(std::weak_ptr<StatusItem> item) {
    return std::make_shared<StatusBarButton>(Private{}, std::move(item));
}

void StatusBarButton::contentChanged(const std::string& what) {
    setNeedsDisplay();
    if (auto item = statusItem()) {
        item->trace(what);
        if (item->length() == StatusItem::variableLength) item->setLength(StatusItem::variableLength);
    }
}

void StatusBarButton::setImage(std::optional<Image> image) {
    const bool present = image.has_value();
    Button::setImage(std::move(image));
    contentChanged(present ? "image set" : "image removed");
}

void StatusBarButton::setTitle(std::string text) {
    Button::setTitle(std::move(text));
    contentChanged("title " + quotedForTrace(title()));
}

void StatusBarButton::setAttributedTitle(std::optional<AttributedString> text) {
    Button::setAttributedTitle(std::move(text));
    contentChanged("title " + quotedForTrace(title()));
}

double StatusBarButton::contentWidth() const {
    double width = 0;
    if (image()) width += image()->size().width;
    if (!title().empty()) {
        const auto titleWidth = attributedTitle() ? TextMeasurer::shared().measure(*attributedTitle()).width
                                                  : TextMeasurer::shared().measure(title(), Font::menuFont()).width;
        width += (image() ? imageTitleSpacing : 0) + titleWidth;
    }
    return width + 2 * horizontalPadding;
}

std::shared_ptr<View> StatusBarButton::hitTest(Point pointInSuperview) {
    if (isHidden() || !frame().contains(pointInSuperview)) return nullptr;
    return shared_from_this();
}

void StatusBarButton::performClick() {
    if (!isEnabled()) return;
    if (auto item = statusItem(); item && item->menu()) {
        item->menu()->popUp(nullptr, Point{bounds().minX(), bounds().minY()}, *this);
        return;
    }
    auto keepAlive = shared_from_this();
    sendAction();
}

void StatusBarButton::handle(const Event& event) {
    if (!isEnabled()) return;
    auto item = statusItem();
    if (isMouseDown(event.type)) {
        if (item && item->menu()) {
            performClick();
            return;
        }
        setHighlighted(true);
    }
    if (isMouseUp(event.type)) {
        setHighlighted(false);
        // A release away from the button sends nothing, as with any button.
        if (!convertToScreen(bounds()).contains(event.location)) return;
    }
    if ((sendActionMask_ & eventMask(event.type)) == 0 || (item && item->menu())) return;
    auto keepAlive = shared_from_this();
    sendAction();
}

void StatusBarButton::mouseDown(const Event& event) { handle(event); }
void StatusBarButton::mouseUp(const Event& event) { handle(event); }
void StatusBarButton::rightMouseDown(const Event& event) { handle(event); }
void StatusBarButton::rightMouseUp(const Event& event) { handle(event); }

void StatusBarButton::draw(Canvas& canvas, Rect /*dirty*/) {
    const auto box = bounds();
    if (isHighlighted()) {
        canvas.setFillColor(Color::system(SystemColor::label).withAlphaComponent(0.15));
        canvas.fillRoundedRect(box.insetBy(1, 2), 4);
    }
    const double opacity = isEnabled() || !imageDimsWhenDisabled ? 1.0 : disabledAlphaFactor;
    const Color tint = contentTintColor().value_or(Color::system(SystemColor::label));
    const auto& measurer = TextMeasurer::shared();
    const Font titleFont = Font::menuFont();
    const bool showsTitle = !title().empty() && imagePosition() != ImagePosition::imageOnly;
    const Size titleSize = !showsTitle          ? Size{}
                           : attributedTitle() ? measurer.measure(*attributedTitle())
                                               : measurer.measure(title(), titleFont);
    const Size imageSize = image() ? image()->size() : Size{};
    const double width = imageSize.width + titleSize.width + (image() && showsTitle ? imageTitleSpacing : 0);
    double x = box.midX() - width / 2;
    if (image()) {
        const Rect destination{x, box.midY() - imageSize.height / 2, imageSize.width, imageSize.height};
        const Image drawn = image()->isTemplate() ? image()->tinted(tint) : *image();
        drawn.draw(canvas, destination, std::nullopt, opacity);
        x += imageSize.width + imageTitleSpacing;
    }
    if (showsTitle) {
        canvas.save();
        canvas.setAlpha(opacity);
        const Point origin{x, box.midY() - titleSize.height / 2};
        if (attributedTitle()) {
            canvas.drawText(*attributedTitle(), origin);
        } else {
            canvas.drawText(title(), origin, titleFont, tint);
        }
        canvas.restore();
    }
}

}  // namespace tallowmere::platform
