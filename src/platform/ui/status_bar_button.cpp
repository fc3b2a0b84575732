#include "platform/ui/status_bar_button.h"

#include <algorithm>

#include "platform/gfx/canvas.h"
#include "platform/gfx/text_measurer.h"
#include "platform/ui/menu.h"
#include "platform/ui/status_item.h"

namespace tallowmere::platform {

struct StatusBarButton::Private {};

StatusBarButton::StatusBarButton(Private, std::weak_ptr<StatusItem> item) : View(Rect{}), item_(std::move(item)) {}

std::shared_ptr<StatusBarButton> StatusBarButton::make(std::weak_ptr<StatusItem> item) {
    return std::make_shared<StatusBarButton>(Private{}, std::move(item));
}

void StatusBarButton::changed(const std::string& what) {
    setNeedsDisplay();
    if (auto item = statusItem()) {
        item->trace(what);
        // A variable-length item follows its content.
        if (item->length() == StatusItem::variableLength) item->setLength(StatusItem::variableLength);
    }
}

void StatusBarButton::setImage(std::optional<Image> image) {
    image_ = std::move(image);
    changed(image_ ? "image set" : "image removed");
}

void StatusBarButton::setTitle(std::string title) {
    title_ = std::move(title);
    attributedTitle_.reset();
    changed("title " + title_);
}

void StatusBarButton::setAttributedTitle(std::optional<AttributedString> title) {
    attributedTitle_ = std::move(title);
    if (attributedTitle_) title_ = attributedTitle_->text();
    changed("title " + title_);
}

void StatusBarButton::setEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    setNeedsDisplay();
}

double StatusBarButton::contentWidth() const {
    double width = 0;
    if (image_) width += image_->size().width;
    if (!title_.empty()) {
        const auto titleWidth = attributedTitle_ ? TextMeasurer::shared().measure(*attributedTitle_).width
                                                 : TextMeasurer::shared().measure(title_, Font::menuFont()).width;
        width += (image_ ? imageTitleSpacing : 0) + titleWidth;
    }
    return width + 2 * horizontalPadding;
}

std::shared_ptr<View> StatusBarButton::hitTest(Point pointInSuperview) {
    if (isHidden() || !frame().contains(pointInSuperview)) return nullptr;
    return std::static_pointer_cast<View>(shared_from_this());
}

void StatusBarButton::performClick() {
    auto item = statusItem();
    if (!enabled_) return;
    if (item && item->menu()) {
        item->menu()->popUp(nullptr, Point{bounds().minX(), bounds().minY()}, *this);
        return;
    }
    auto keepAlive = shared_from_this();
    if (action) action(*this);
}

void StatusBarButton::handle(const Event& event) {
    if (!enabled_) return;
    auto item = statusItem();
    if (isMouseDown(event.type)) {
        highlighted_ = true;
        setNeedsDisplay();
        if (item && item->menu()) {
            highlighted_ = false;
            performClick();
            return;
        }
    }
    if (isMouseUp(event.type)) {
        highlighted_ = false;
        setNeedsDisplay();
        // A release away from the button sends nothing, as with any button.
        if (!convertToScreen(bounds()).contains(event.location)) return;
    }
    if ((sendActionMask_ & eventMask(event.type)) == 0) return;
    if (item && item->menu()) return;
    auto keepAlive = shared_from_this();
    if (action) action(*this);
}

void StatusBarButton::mouseDown(const Event& event) { handle(event); }
void StatusBarButton::mouseUp(const Event& event) { handle(event); }
void StatusBarButton::rightMouseDown(const Event& event) { handle(event); }
void StatusBarButton::rightMouseUp(const Event& event) { handle(event); }

void StatusBarButton::draw(Canvas& canvas, Rect /*dirty*/) {
    const auto box = bounds();
    if (highlighted_) {
        canvas.setFillColor(Color::system(SystemColor::label).withAlphaComponent(0.15));
        canvas.fillRoundedRect(box.insetBy(1, 2), 4);
    }
    const double opacity = enabled_ || !imageDimsWhenDisabled ? 1.0 : 0.35;
    const auto& measurer = TextMeasurer::shared();
    const Font font = Font::menuFont();
    const Size titleSize = title_.empty() ? Size{}
                           : attributedTitle_     ? measurer.measure(*attributedTitle_)
                                                  : measurer.measure(title_, font);
    const Size imageSize = image_ ? image_->size() : Size{};
    const double contentWidth =
        imageSize.width + titleSize.width + (image_ && !title_.empty() ? imageTitleSpacing : 0);
    double x = box.midX() - contentWidth / 2;
    if (image_) {
        const Rect destination{x, box.midY() - imageSize.height / 2, imageSize.width, imageSize.height};
        if (image_->isTemplate()) {
            image_->tinted(Color::system(SystemColor::label)).draw(canvas, destination, std::nullopt, opacity);
        } else {
            image_->draw(canvas, destination, std::nullopt, opacity);
        }
        x += imageSize.width + imageTitleSpacing;
    }
    if (!title_.empty()) {
        canvas.save();
        canvas.setAlpha(opacity);
        const Point origin{x, box.midY() - titleSize.height / 2};
        if (attributedTitle_) {
            canvas.drawText(*attributedTitle_, origin);
        } else {
            canvas.drawText(title_, origin, font, Color::system(SystemColor::label));
        }
        canvas.restore();
    }
}

}  // namespace tallowmere::platform
