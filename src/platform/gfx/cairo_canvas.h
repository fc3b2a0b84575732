#pragma once

#include <memory>

#include "platform/base/data.h"
#include "platform/base/result.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/canvas.h"

namespace tallowmere::platform {

// Paints pixels with cairo (text with pango) into a bitmap of the canvas's
// size times its scale, transparent to begin with.
class CairoCanvas final : public Canvas {
public:
    // Largest side in pixels; cairo's own limit.
    static constexpr int maximumPixels = 32767;

    // Fails for a size or scale that is not finite and positive (a zero size
    // is allowed and paints nothing) or beyond `maximumPixels`.
    static Result<std::unique_ptr<CairoCanvas>> make(Size size, double scale = 1);
    ~CairoCanvas() override;

    // What has been painted so far.
    Bitmap bitmap() const;
    Result<Data> pngData() const;

protected:
    void onSave() override;
    void onRestore() override;
    void onFill(const Path& path, FillRule rule) override;
    void onStroke(const Path& path) override;
    void onClip(const Path& path, FillRule rule) override;
    void onLinearGradient(const Gradient& gradient, Point start, Point end) override;
    void onRadialGradient(const Gradient& gradient, Point startCenter, double startRadius, Point endCenter,
                          double endRadius) override;
    void onImage(const Image& image, Rect destination, std::optional<Rect> source, double opacity,
                 CompositingOperation operation) override;
    void onText(const AttributedString& text, Point origin, std::optional<double> wrapWidth) override;

private:
    struct Surface;
    CairoCanvas(Size size, double scale, std::unique_ptr<Surface> surface);

    std::unique_ptr<Surface> surface_;
};

}  // namespace tallowmere::platform
