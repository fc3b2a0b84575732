#include "platform/gfx/image.h"

#include <cmath>
#include <variant>

#include "platform/gfx/cairo_canvas.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/png.h"

namespace tallowmere::platform {

struct Image::Picture {
    std::variant<Bitmap, DrawHandler> content;
};

Image::Image(std::shared_ptr<const Picture> picture, Size size) : picture_(std::move(picture)), size_(size) {}

Image Image::fromBitmap(Bitmap bitmap) {
    const Size size = bitmap.size();
    return Image(std::make_shared<Picture>(Picture{std::move(bitmap)}), size);
}

Image Image::withHandler(Size size, DrawHandler handler) {
    return Image(std::make_shared<Picture>(Picture{std::move(handler)}), size);
}

Result<Image> Image::fromPngData(const Data& bytes, double scale) {
    auto bitmap = decodePng(bytes, scale);
    if (!bitmap) return bitmap.error();
    return fromBitmap(std::move(bitmap).value());
}

const Bitmap* Image::bitmap() const { return std::get_if<Bitmap>(&picture_->content); }

const Image::DrawHandler* Image::drawHandler() const { return std::get_if<DrawHandler>(&picture_->content); }

void Image::draw(Canvas& canvas, Rect destination, std::optional<Rect> source, double opacity,
                 CompositingOperation operation) const {
    canvas.drawImage(*this, destination, source, opacity, operation);
}

Result<Bitmap> Image::render(double scale, std::optional<Color> templateTint) const {
    if (!(size_.width > 0) || !(size_.height > 0) || !std::isfinite(size_.width) || !std::isfinite(size_.height))
        return Error{ErrorCode::invalidArgument, "An image needs a positive size to be rendered"};
    auto made = CairoCanvas::make(size_, scale);
    if (!made) return made.error();
    CairoCanvas& canvas = **made;
    const Rect bounds{0, 0, size_.width, size_.height};
    if (const auto* handler = drawHandler()) {
        // Called directly rather than through drawImage so its failure is seen.
        if (!*handler || !(*handler)(canvas, bounds))
            return Error{ErrorCode::internal, "The image's drawing handler failed"};
    } else {
        canvas.drawImage(*this, bounds);
    }
    if (template_ && templateTint) {
        canvas.setCompositingOperation(CompositingOperation::sourceAtop);
        canvas.setFillColor(*templateTint);
        canvas.fillRect(bounds);
    }
    return canvas.bitmap();
}

Image Image::tinted(const Color& color) const {
    Image shape = *this;
    shape.template_ = false;
    // Handler images draw in a layer of their own, so sourceAtop colours the
    // shape and nothing already on the canvas underneath.
    Image result = withHandler(size_, [shape, color](Canvas& canvas, Rect rect) {
        canvas.drawImage(shape, rect);
        canvas.save();
        canvas.setCompositingOperation(CompositingOperation::sourceAtop);
        canvas.setFillColor(color);
        canvas.fillRect(rect);
        canvas.restore();
        return true;
    });
    result.description_ = description_;
    return result;
}

}  // namespace tallowmere::platform
