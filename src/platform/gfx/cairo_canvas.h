#pragma once

#include <cstdint>
#include <memory>
#include <vector>

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
    // Part of it, in pixels (rows from the top); clipped to the canvas.
    Bitmap bitmap(int x, int y, int width, int height) const;
    Result<Data> pngData() const;

    // Whole pixels, rows from the top, ends excluded.
    struct PixelBounds {
        int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    };
    // While repainting only `area` (clipped to it by the caller), a shadow
    // whose shape the area cuts is blurred from cut coverage near the cut:
    // the canvas notes how far from the area's edge that can show (blur
    // spread and offset, in pixels), so the caller can repaint with that
    // much more around and keep only the area. None stops watching.
    void watchShadowsCutBy(std::optional<PixelBounds> area);
    int marginOfCutShadows() const;

    // Painted pixels of a part of the canvas, as they are, to put back.
    struct SavedPixels {
        PixelBounds bounds;
        std::vector<std::uint32_t> pixels;
    };
    SavedPixels savePixels(PixelBounds bounds) const;
    // Puts the saved pixels back, except those inside `keep`.
    void restorePixels(const SavedPixels& saved, PixelBounds keep);

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
    std::unique_ptr<CanvasLayer> onMakeLayer(Rect area, const std::function<void()>& draw) override;
    bool onDrawLayer(const CanvasLayer& layer) override;
    bool onRedrawLayer(CanvasLayer& layer, const std::vector<Rect>& changed,
                       const std::function<void(Rect part)>& draw) override;

private:
    struct Surface;
    CairoCanvas(Size size, double scale, std::unique_ptr<Surface> surface);

    std::unique_ptr<Surface> surface_;
};

}  // namespace tallowmere::platform
