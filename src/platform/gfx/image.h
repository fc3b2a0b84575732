#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/base/data.h"
#include "platform/base/result.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/color.h"
#include "platform/gfx/geometry.h"
#include "platform/gfx/graphics_state.h"

namespace tallowmere::platform {

class Canvas;

// A picture of a size in points, backed by a bitmap or by a drawing handler
// that draws it afresh at whatever scale it is shown (so it is sharp on every
// screen). A value: copies share the immutable picture, and size, template
// flag and description belong to each copy.
//
// A template image is a shape: only its alpha counts, and whoever shows it
// tints it (white on a dark menu bar, black on a light one).
class Image {
public:
    // Draws the image into `rect` (the image's own bounds, origin 0, y up);
    // false means the drawing failed.
    using DrawHandler = std::function<bool(Canvas& canvas, Rect rect)>;

    // Size in points from the bitmap's pixels and scale.
    static Image fromBitmap(Bitmap bitmap);
    static Image withHandler(Size size, DrawHandler handler);
    static Result<Image> fromPngData(const Data& bytes, double scale = 1);
    // The same picture, decoded only when its pixels are first needed (a
    // menu that is built but never shown decodes nothing); the size comes
    // from the PNG's header, and none when the header is not a PNG's. Bytes
    // that then fail to decode show as a transparent picture.
    static std::optional<Image> fromPngDataOnDemand(Data bytes, double scale = 1);
    // A bitmap image of that many pixels whose pixels `make` gives when they
    // are first needed; transparent should it fail.
    static Image madeOnDemand(int pixelsWide, int pixelsHigh, double scale, std::function<Result<Bitmap>()> make);

    Size size() const { return size_; }
    // The picture is stretched to the new size when drawn.
    void setSize(Size size) { size_ = size; }
    bool isTemplate() const { return template_; }
    void setTemplate(bool isTemplate) { template_ = isTemplate; }
    const std::string& accessibilityDescription() const { return description_; }
    void setAccessibilityDescription(std::string description) { description_ = std::move(description); }

    // The backing bitmap, or null for a handler image.
    const Bitmap* bitmap() const;
    // The drawing handler, or null for a bitmap image.
    const DrawHandler* drawHandler() const;
    // True when both copies show the same picture object.
    bool sharesPictureWith(const Image& other) const { return picture_ == other.picture_; }

    // Draws into `destination`, taking `source` of the image (its bounds in
    // points, y up; whole image when absent).
    void draw(Canvas& canvas, Rect destination, std::optional<Rect> source = std::nullopt, double opacity = 1,
              CompositingOperation operation = CompositingOperation::sourceOver) const;
    // Pixels of the image at `scale` pixels per point; a template image drawn
    // in `templateTint` when one is given. Fails when the handler fails or
    // the size is unusable.
    Result<Bitmap> render(double scale = 1, std::optional<Color> templateTint = std::nullopt) const;
    // A non-template image with the template's shape filled in `color`.
    Image tinted(const Color& color) const;

private:
    struct Picture;
    Image(std::shared_ptr<const Picture> picture, Size size);

    std::shared_ptr<const Picture> picture_;
    Size size_;
    bool template_ = false;
    std::string description_;
};

}  // namespace tallowmere::platform
