#include "platform/gfx/image.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <mutex>
#include <variant>

#include "platform/gfx/cairo_canvas.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/png.h"

namespace tallowmere::platform {

namespace {

// A picture made when its pixels are first wanted.
struct DeferredBitmap {
    mutable std::function<Result<Bitmap>()> make;  // dropped once used
    int pixelsWide = 0;
    int pixelsHigh = 0;
    double scale = 1;
    mutable std::once_flag making;
    mutable Bitmap made;

    const Bitmap& bitmap() const {
        std::call_once(making, [this] {
            auto bitmap = make ? make() : Result<Bitmap>(Error{ErrorCode::internal, "nothing to draw"});
            made = bitmap ? std::move(bitmap).value() : Bitmap(pixelsWide, pixelsHigh, scale);
            make = nullptr;
        });
        return made;
    }
};

// Width and height from the header: the signature, then the IHDR chunk.
std::optional<std::pair<int, int>> pngHeaderSize(const Data& bytes) {
    static constexpr std::array<std::uint8_t, 16> start{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n',
                                                         0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    if (bytes.size() < 24 || !std::equal(start.begin(), start.end(), bytes.begin())) return std::nullopt;
    auto word = [&](std::size_t at) {
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < 4; ++i) value = value << 8 | bytes[at + i];
        return value;
    };
    const std::uint32_t width = word(16), height = word(20);
    // PNG's own limit on either side.
    if (width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF) return std::nullopt;
    return std::pair{static_cast<int>(width), static_cast<int>(height)};
}

}  // namespace

struct Image::Picture {
    std::variant<Bitmap, DrawHandler, DeferredBitmap> content;
};

Image::Image(std::shared_ptr<const Picture> picture, Size size) : picture_(std::move(picture)), size_(size) {}

Image Image::fromBitmap(Bitmap bitmap) {
    const Size size = bitmap.size();
    auto picture = std::make_shared<Picture>();
    picture->content.emplace<Bitmap>(std::move(bitmap));
    return Image(std::move(picture), size);
}

Image Image::withHandler(Size size, DrawHandler handler) {
    auto picture = std::make_shared<Picture>();
    picture->content.emplace<DrawHandler>(std::move(handler));
    return Image(std::move(picture), size);
}

Result<Image> Image::fromPngData(const Data& bytes, double scale) {
    auto bitmap = decodePng(bytes, scale);
    if (!bitmap) return bitmap.error();
    return fromBitmap(std::move(bitmap).value());
}

Image Image::madeOnDemand(int pixelsWide, int pixelsHigh, double scale, std::function<Result<Bitmap>()> make) {
    if (!(scale > 0) || !std::isfinite(scale)) scale = 1;
    auto picture = std::make_shared<Picture>();
    auto& deferred = picture->content.emplace<DeferredBitmap>();
    deferred.make = std::move(make);
    deferred.pixelsWide = std::max(pixelsWide, 0);
    deferred.pixelsHigh = std::max(pixelsHigh, 0);
    deferred.scale = scale;
    return Image(std::move(picture), Size{deferred.pixelsWide / scale, deferred.pixelsHigh / scale});
}

std::optional<Image> Image::fromPngDataOnDemand(Data bytes, double scale) {
    const auto pixels = pngHeaderSize(bytes);
    if (!pixels) return std::nullopt;
    return madeOnDemand(pixels->first, pixels->second, scale,
                        [bytes = std::move(bytes), scale] { return decodePng(bytes, scale); });
}

const Bitmap* Image::bitmap() const {
    if (const auto* deferred = std::get_if<DeferredBitmap>(&picture_->content)) return &deferred->bitmap();
    return std::get_if<Bitmap>(&picture_->content);
}

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
    // Handler images draw in a layer of their own, so sourceIn colours the
    // shape and nothing already on the canvas underneath. The colour's own
    // alpha multiplies the shape's: a translucent tint (secondary label)
    // gives a translucent glyph, not the shape's full ink.
    Image result = withHandler(size_, [shape, color](Canvas& canvas, Rect rect) {
        canvas.drawImage(shape, rect);
        canvas.save();
        canvas.setCompositingOperation(CompositingOperation::sourceIn);
        canvas.setFillColor(color);
        canvas.fillRect(rect);
        canvas.restore();
        return true;
    });
    result.description_ = description_;
    return result;
}

}  // namespace tallowmere::platform
