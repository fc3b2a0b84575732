#include "toys/poetry_reviewed_seal_view.h"

#include "platform/gfx/canvas.h"
#include "platform/gfx/image_filters.h"
#include "platform/ui/bundle_image.h"

namespace tallowmere {

namespace {

using namespace platform;

// Where each picture's seal lies, in pixels from its bottom-left corner.
constexpr ImageFilters::PixelRectBottomUp yangCrop{195, 175, 860, 880};
constexpr ImageFilters::PixelRectBottomUp yinCrop{150, 125, 955, 985};

}  // namespace

std::shared_ptr<PoetryReviewedSealView> PoetryReviewedSealView::make() {
    return std::make_shared<PoetryReviewedSealView>(Rect{0, 0, side, side});
}

PoetryReviewedSealView::PoetryReviewedSealView(Rect frame) : View(frame) {
    setWantsLayer(true);
    mutableLayer().shadow = Shadow{{0, -1}, 2, Color::black().withAlphaComponent(0.12)};
}

void PoetryReviewedSealView::setStyleIndex(int style) {
    if (style == styleIndex_) return;
    styleIndex_ = style;
    setNeedsDisplay();
}

std::optional<Image> PoetryReviewedSealView::sealImage(int style) {
    if (auto cached = cachedImages_.find(style); cached != cachedImages_.end()) return cached->second;
    std::optional<Image> made;
    if (auto picture = bundleImage(style == 0 ? "PoetrySealYang" : "PoetrySealYin", "png")) {
        if (auto pixels = picture->render(1); pixels.ok()) {
            // Red stays red, white becomes clear: alpha = 1 - (green + blue) / 2.
            ImageFilters::ColorMatrix matrix;
            matrix.alpha = {0, -0.5, -0.5, 0};
            matrix.bias = {0, 0, 0, 1};
            auto seal = ImageFilters::crop(ImageFilters::colorMatrix(*pixels, matrix), style == 0 ? yangCrop : yinCrop);
            if (!seal.isEmpty()) {
                auto image = Image::fromBitmap(std::move(seal));
                image.setSize({side, side});
                image.setTemplate(false);
                made = std::move(image);
            }
        }
    }
    cachedImages_[style] = made;
    return made;
}

void PoetryReviewedSealView::draw(Canvas& canvas, Rect) {
    auto image = sealImage(styleIndex_);
    if (!image) return;
    const auto bounds = this->bounds();
    canvas.save();
    canvas.translate(bounds.midX(), bounds.midY());
    canvas.rotate(tilt);
    image->draw(canvas, {-bounds.width() / 2, -bounds.height() / 2, bounds.width(), bounds.height()});
    canvas.restore();
}

void PoetryReviewedSealView::mouseDown(const Event&) {
    if (onChangeStyle) onChangeStyle();
}

}  // namespace tallowmere
