#include "platform/ui/image_view.h"

namespace tallowmere::platform {

std::shared_ptr<ImageView> ImageView::make(std::optional<Image> image) {
    auto view = std::shared_ptr<ImageView>(new ImageView({}));
    view->setImage(std::move(image));
    return view;
}

ImageView::ImageView(Rect frame) : View(frame) {}

void ImageView::setImage(std::optional<Image> image) {
    image_ = std::move(image);
    invalidateIntrinsicContentSize();
}

void ImageView::setImageScaling(ImageScaling scaling) {
    imageScaling_ = scaling;
    setNeedsDisplay();
}

void ImageView::setContentTintColor(std::optional<Color> color) {
    contentTintColor_ = std::move(color);
    setNeedsDisplay();
}

void ImageView::setEnabled(bool enabled) {
    enabled_ = enabled;
    setNeedsDisplay();
}

Size ImageView::intrinsicContentSize() const {
    return image_ ? image_->size() : Size{noIntrinsicMetric, noIntrinsicMetric};
}

void ImageView::draw(Canvas& canvas, Rect dirty) {
    (void)dirty;
    if (!image_) return;
    ControlDrawing::drawImage(canvas, *image_, bounds(), imageScaling_, contentTintColor_, enabled_ ? 1.0 : 0.45);
}

}  // namespace tallowmere::platform
