#include "platform/gfx/cairo_canvas.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cmath>
#include <functional>
#include <string>
#include <unordered_map>
#include <utility>

#include "platform/gfx/font_configuration.h"
#include "platform/gfx/pango_text.h"
#include "platform/gfx/png.h"

namespace tallowmere::platform {
namespace {

struct SurfaceRelease {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
using SurfacePtr = std::unique_ptr<cairo_surface_t, SurfaceRelease>;

struct PatternRelease {
    void operator()(cairo_pattern_t* pattern) const { cairo_pattern_destroy(pattern); }
};
using PatternPtr = std::unique_ptr<cairo_pattern_t, PatternRelease>;

cairo_matrix_t toCairo(const AffineTransform& t) {
    cairo_matrix_t m;
    cairo_matrix_init(&m, t.a, t.b, t.c, t.d, t.tx, t.ty);
    return m;
}

cairo_operator_t toCairo(CompositingOperation operation) {
    switch (operation) {
    case CompositingOperation::sourceOver: return CAIRO_OPERATOR_OVER;
    case CompositingOperation::sourceAtop: return CAIRO_OPERATOR_ATOP;
    case CompositingOperation::sourceIn: return CAIRO_OPERATOR_IN;
    case CompositingOperation::sourceOut: return CAIRO_OPERATOR_OUT;
    case CompositingOperation::destinationOver: return CAIRO_OPERATOR_DEST_OVER;
    case CompositingOperation::destinationIn: return CAIRO_OPERATOR_DEST_IN;
    case CompositingOperation::destinationOut: return CAIRO_OPERATOR_DEST_OUT;
    case CompositingOperation::copy: return CAIRO_OPERATOR_SOURCE;
    case CompositingOperation::clear: return CAIRO_OPERATOR_CLEAR;
    case CompositingOperation::plusLighter: return CAIRO_OPERATOR_ADD;
    case CompositingOperation::multiply: return CAIRO_OPERATOR_MULTIPLY;
    }
    return CAIRO_OPERATOR_OVER;
}

cairo_filter_t toCairo(ImageInterpolation interpolation) {
    switch (interpolation) {
    case ImageInterpolation::none: return CAIRO_FILTER_NEAREST;
    case ImageInterpolation::low: return CAIRO_FILTER_FAST;
    case ImageInterpolation::defaultQuality:
    case ImageInterpolation::medium: return CAIRO_FILTER_GOOD;
    case ImageInterpolation::high: return CAIRO_FILTER_BEST;
    }
    return CAIRO_FILTER_GOOD;
}

void setPath(cairo_t* cr, const Path& path) {
    cairo_new_path(cr);
    for (const auto& element : path.elements()) {
        if (const auto* m = std::get_if<Path::MoveTo>(&element)) cairo_move_to(cr, m->to.x, m->to.y);
        else if (const auto* l = std::get_if<Path::LineTo>(&element)) cairo_line_to(cr, l->to.x, l->to.y);
        else if (const auto* c = std::get_if<Path::CurveTo>(&element))
            cairo_curve_to(cr, c->control1.x, c->control1.y, c->control2.x, c->control2.y, c->to.x, c->to.y);
        else cairo_close_path(cr);
    }
}

void setSourceColor(cairo_t* cr, const Color& color, Appearance appearance, double alpha = 1) {
    const RGBA v = color.rgba(appearance);
    auto unit = [](double c) { return std::isnan(c) ? 0 : std::clamp(c, 0.0, 1.0); };
    cairo_set_source_rgba(cr, unit(v.red), unit(v.green), unit(v.blue), unit(v.alpha) * alpha);
}

void addStops(cairo_pattern_t* pattern, const Gradient& gradient, Appearance appearance) {
    for (const auto& stop : gradient.stops()) {
        const RGBA v = stop.color.rgba(appearance);
        auto unit = [](double c) { return std::isnan(c) ? 0 : std::clamp(c, 0.0, 1.0); };
        cairo_pattern_add_color_stop_rgba(pattern, stop.location, unit(v.red), unit(v.green), unit(v.blue),
                                          unit(v.alpha));
    }
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
}

// Premultiplied native-endian ARGB, as cairo wants it.
SurfacePtr surfaceFromBitmap(const Bitmap& bitmap) {
    SurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, bitmap.pixelsWide(), bitmap.pixelsHigh()));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return surface;
    cairo_surface_flush(surface.get());
    unsigned char* data = cairo_image_surface_get_data(surface.get());
    const int stride = cairo_image_surface_get_stride(surface.get());
    for (int y = 0; y < bitmap.pixelsHigh(); ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < bitmap.pixelsWide(); ++x) {
            const Pixel p = bitmap.pixel(x, y);
            auto pre = [&](std::uint8_t c) { return static_cast<std::uint32_t>((c * p.alpha + 127) / 255); };
            row[x] = (std::uint32_t{p.alpha} << 24) | (pre(p.red) << 16) | (pre(p.green) << 8) | pre(p.blue);
        }
    }
    cairo_surface_mark_dirty(surface.get());
    return surface;
}

// Pixels x0..x0+width, y0..y0+height of the surface, unpremultiplied.
Bitmap bitmapFromSurface(cairo_surface_t* surface, double scale, int x0, int y0, int width, int height) {
    cairo_surface_flush(surface);
    const int surfaceWidth = cairo_image_surface_get_width(surface);
    const int surfaceHeight = cairo_image_surface_get_height(surface);
    x0 = std::clamp(x0, 0, surfaceWidth), y0 = std::clamp(y0, 0, surfaceHeight);
    width = std::clamp(width, 0, surfaceWidth - x0), height = std::clamp(height, 0, surfaceHeight - y0);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    Bitmap bitmap(width, height, scale);
    if (!data) return bitmap;
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y + y0) * stride) + x0;
        for (int x = 0; x < width; ++x) {
            const std::uint32_t v = row[x];
            const std::uint32_t a = v >> 24;
            auto un = [&](std::uint32_t c) {
                return static_cast<std::uint8_t>(a == 0 ? 0 : std::min<std::uint32_t>(255, (c * 255 + a / 2) / a));
            };
            bitmap.setPixel(x, y, {un((v >> 16) & 0xFF), un((v >> 8) & 0xFF), un(v & 0xFF), static_cast<std::uint8_t>(a)});
        }
    }
    return bitmap;
}

Bitmap bitmapFromSurface(cairo_surface_t* surface, double scale) {
    return bitmapFromSurface(surface, scale, 0, 0, cairo_image_surface_get_width(surface),
                             cairo_image_surface_get_height(surface));
}

// A box of whole pixels, rows from the top, ends excluded.
struct PixelBox {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool isEmpty() const { return x1 <= x0 || y1 <= y0; }
    PixelBox intersection(const PixelBox& o) const {
        return {std::max(x0, o.x0), std::max(y0, o.y0), std::min(x1, o.x1), std::min(y1, o.y1)};
    }
    PixelBox outset(int by) const { return {x0 - by, y0 - by, x1 + by, y1 + by}; }
    int width() const { return x1 - x0; }
    bool contains(const PixelBox& o) const { return o.x0 >= x0 && o.y0 >= y0 && o.x1 <= x1 && o.y1 <= y1; }
    PixelBox unionWith(const PixelBox& o) const {
        return {std::min(x0, o.x0), std::min(y0, o.y0), std::max(x1, o.x1), std::max(y1, o.y1)};
    }
    int height() const { return y1 - y0; }
};

// Three box blurs approximate a Gaussian; run over the alpha of an A8
// surface. Each pass averages 2r + 1 neighbours (the edge value repeated
// past the ends) and truncates. The passes run along rows, the vertical
// ones over whole rows at a time, so the memory is read in order; the
// division is an exact multiply by the reciprocal.
//
// `solid`, when known, is a box of the surface that is fully covered: a
// pass leaves a pixel whose whole window lies in it as it is, so the pass
// skips it, and the box shrinks by r along the pass. Under a large opaque
// shape only a band along its edge is blurred.
void blurAlpha(cairo_surface_t* surface, double radius, std::optional<PixelBox> solid = std::nullopt) {
    // Past a few hundred pixels a blur is a flat wash; the cap bounds the work.
    if (!(radius >= 2)) return;
    const int r = static_cast<int>(std::lround(std::min(radius, 512.0) / 2));
    const std::uint32_t span = static_cast<std::uint32_t>(2 * r + 1);
    // floor(sum / span) == (sum * reciprocal) >> 32 for every sum up to 255 * span.
    const std::uint64_t reciprocal = ((std::uint64_t{1} << 32) + span - 1) / span;
    const auto average = [reciprocal](std::uint32_t sum) {
        return static_cast<unsigned char>((sum * reciprocal) >> 32);
    };
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int width = cairo_image_surface_get_width(surface), height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    if (!data || width <= 0 || height <= 0) return;
    const auto row = [&](int y) { return data + static_cast<std::ptrdiff_t>(y) * stride; };
    if (solid) solid = solid->intersection({0, 0, width, height});
    if (solid && solid->isEmpty()) solid.reset();

    std::vector<unsigned char> padded(static_cast<std::size_t>(width + 2 * r + 2));
    const auto horizontal = [&] {
        for (int y = 0; y < height; ++y) {
            unsigned char* line = row(y);
            if (std::all_of(line, line + width, [](unsigned char v) { return v == 0; })) continue;
            std::fill(padded.begin(), padded.begin() + r + 1, line[0]);
            std::copy(line, line + width, padded.begin() + r + 1);
            std::fill(padded.begin() + r + 1 + width, padded.end(), line[width - 1]);
            // padded[k + r + 1] is line[k]; the window of k is padded[k + 1 ... k + 2r + 1].
            int skipFrom = width, skipTo = width;
            if (solid && y >= solid->y0 && y < solid->y1 && solid->x1 - solid->x0 > 2 * r) {
                skipFrom = solid->x0 + r;
                skipTo = solid->x1 - r;
            }
            const auto windowSum = [&](int k) {
                std::uint32_t sum = 0;
                for (int j = k + 1; j <= k + 2 * r + 1; ++j) sum += padded[j];
                return sum;
            };
            std::uint32_t sum = windowSum(0);
            for (int k = 0; k < width; ++k) {
                if (k == skipFrom) {
                    k = skipTo;
                    if (k >= width) break;
                    sum = windowSum(k);
                }
                line[k] = average(sum);
                sum += padded[k + 2 * r + 2] - padded[k + 1];
            }
        }
        if (solid) solid = PixelBox{solid->x0 + r, solid->y0, solid->x1 - r, solid->y1};
        if (solid && solid->isEmpty()) solid.reset();
    };
    std::vector<unsigned char> source(static_cast<std::size_t>(width) * height);
    std::vector<std::uint32_t> sums(static_cast<std::size_t>(width));
    const auto vertical = [&] {
        for (int y = 0; y < height; ++y) std::copy(row(y), row(y) + width, source.begin() + std::ptrdiff_t(y) * width);
        const auto at = [&](int y) { return source.data() + std::ptrdiff_t(std::clamp(y, 0, height - 1)) * width; };
        std::fill(sums.begin(), sums.end(), 0);
        for (int k = -r; k <= r; ++k) {
            const unsigned char* in = at(k);
            for (int x = 0; x < width; ++x) sums[x] += in[x];
        }
        for (int y = 0; y < height; ++y) {
            unsigned char* out = row(y);
            const unsigned char* entering = at(y + r + 1);
            const unsigned char* leaving = at(y - r);
            // Columns of the solid box whose window (and next window) lies in it keep 255 and their sums.
            const bool solidRow = solid && y - r >= solid->y0 && y + r + 1 < solid->y1;
            const int gapFrom = solidRow ? solid->x0 : width, gapTo = solidRow ? solid->x1 : width;
            for (int x = 0; x < gapFrom; ++x) {
                out[x] = average(sums[x]);
                sums[x] += entering[x] - leaving[x];
            }
            for (int x = gapTo; x < width; ++x) {
                out[x] = average(sums[x]);
                sums[x] += entering[x] - leaving[x];
            }
        }
        if (solid) solid = PixelBox{solid->x0, solid->y0 + r, solid->x1, solid->y1 - r};
        if (solid && solid->isEmpty()) solid.reset();
    };
    for (int round = 0; round < 3; ++round) {
        horizontal();
        vertical();
    }
    cairo_surface_mark_dirty(surface);
}

// During a repaint of part of the canvas: a shadow whose shape the clip
// cuts is blurred from cut coverage near the cut, as far as the blur
// spreads and the shadow is offset. The widest such margin is noted.
struct ShadowWatch {
    std::optional<PixelBox> area;
    int margin = 0;
};

// One clip of the current state, kept so that a mask of our own can stand
// in for cairo's clip (see clipCoverage).
struct ClipShape {
    ClipShape(Path path, const cairo_matrix_t& matrix, cairo_fill_rule_t rule)
        : path(std::move(path)), matrix(matrix), rule(rule) {}

    Path path;
    cairo_matrix_t matrix;  // the path's user space to pixels
    cairo_fill_rule_t rule;
    // Made when first needed: the pixels the clip lets through at all, and
    // its coverage over them, unless it is a box of whole pixels (all or
    // nothing) or too large to be worth a mask.
    mutable std::optional<PixelBox> extent;
    mutable SurfacePtr coverage;
    mutable bool maskable = true;
};

// Blurred masks of small shadows, by the coverage blurred: the bulbs of a
// spinning lamp cast the same few shadows at ever new places, each blurred
// once instead of every frame. Bounded: past `largestCount` it starts afresh.
class BlurredMasks {
public:
    static constexpr int largestArea = 128 * 128;  // pixels of one mask
    static constexpr std::size_t largestCount = 96;

    const std::vector<unsigned char>* find(const std::string& key) const {
        const auto found = masks_.find(key);
        return found == masks_.end() ? nullptr : &found->second;
    }
    void insert(std::string key, std::vector<unsigned char> blurred) {
        if (masks_.size() >= largestCount) masks_.clear();
        masks_.emplace(std::move(key), std::move(blurred));
    }

private:
    std::unordered_map<std::string, std::vector<unsigned char>> masks_;
};

struct Target {
    cairo_t* cr;
    int pixelsWide, pixelsHigh;
    double scale;
    ShadowWatch* watch = nullptr;
    const std::vector<ClipShape>* clips = nullptr;
    BlurredMasks* blurredMasks = nullptr;
};

}  // namespace

struct CairoCanvas::Surface {
    SurfacePtr surface;
    cairo_t* cr = nullptr;
    cairo_matrix_t device;  // canvas points (y up) to pixels (y down)
    int pixelsWide = 0, pixelsHigh = 0;

    mutable ShadowWatch watch;
    // The clips of the current state, in the order laid, and how many each
    // saved state had.
    std::vector<ClipShape> clips;
    std::vector<std::size_t> savedClipCounts;
    mutable BlurredMasks blurredMasks;

    Target target() const { return {cr, pixelsWide, pixelsHigh, device.xx, &watch, &clips, &blurredMasks}; }

    ~Surface() {
        if (cr) cairo_destroy(cr);
    }
};

Result<std::unique_ptr<CairoCanvas>> CairoCanvas::make(Size size, double scale) {
    if (!std::isfinite(scale) || scale <= 0 || !std::isfinite(size.width) || !std::isfinite(size.height) ||
        size.width < 0 || size.height < 0)
        return Error{ErrorCode::invalidArgument, "A canvas needs a finite size and a positive scale"};
    const double wide = std::ceil(size.width * scale - 1e-9), high = std::ceil(size.height * scale - 1e-9);
    if (wide > maximumPixels || high > maximumPixels)
        return Error{ErrorCode::invalidArgument, "A canvas cannot be larger than 32767 pixels a side"};
    auto surface = std::make_unique<Surface>();
    surface->pixelsWide = static_cast<int>(wide);
    surface->pixelsHigh = static_cast<int>(high);
    surface->surface.reset(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, surface->pixelsWide, surface->pixelsHigh));
    if (cairo_surface_status(surface->surface.get()) != CAIRO_STATUS_SUCCESS)
        return Error{ErrorCode::internal, "Cannot make a drawing surface"};
    surface->cr = cairo_create(surface->surface.get());
    cairo_matrix_init(&surface->device, scale, 0, 0, -scale, 0, size.height * scale);
    return std::unique_ptr<CairoCanvas>(new CairoCanvas(size, scale, std::move(surface)));
}

CairoCanvas::CairoCanvas(Size size, double scale, std::unique_ptr<Surface> surface)
    : Canvas(size, scale), surface_(std::move(surface)) {}

CairoCanvas::~CairoCanvas() = default;

Bitmap CairoCanvas::bitmap() const { return bitmapFromSurface(surface_->surface.get(), backingScale()); }

void CairoCanvas::watchShadowsCutBy(std::optional<PixelBounds> area) {
    auto& watch = surface_->watch;
    watch.margin = 0;
    watch.area.reset();
    if (area) watch.area = PixelBox{area->x0, area->y0, area->x1, area->y1};
}

int CairoCanvas::marginOfCutShadows() const { return surface_->watch.margin; }

CairoCanvas::SavedPixels CairoCanvas::savePixels(PixelBounds bounds) const {
    cairo_surface_t* surface = surface_->surface.get();
    cairo_surface_flush(surface);
    SavedPixels saved;
    saved.bounds = {std::clamp(bounds.x0, 0, surface_->pixelsWide), std::clamp(bounds.y0, 0, surface_->pixelsHigh),
                    std::clamp(bounds.x1, 0, surface_->pixelsWide), std::clamp(bounds.y1, 0, surface_->pixelsHigh)};
    const int width = std::max(0, saved.bounds.x1 - saved.bounds.x0);
    const int height = std::max(0, saved.bounds.y1 - saved.bounds.y0);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    saved.pixels.resize(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height && data; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + std::ptrdiff_t(y + saved.bounds.y0) * stride);
        std::copy(row + saved.bounds.x0, row + saved.bounds.x0 + width, saved.pixels.begin() + std::ptrdiff_t(y) * width);
    }
    return saved;
}

void CairoCanvas::restorePixels(const SavedPixels& saved, PixelBounds keep) {
    cairo_surface_t* surface = surface_->surface.get();
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const int width = std::max(0, saved.bounds.x1 - saved.bounds.x0);
    const int height = std::max(0, saved.bounds.y1 - saved.bounds.y0);
    for (int y = 0; y < height && data; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + std::ptrdiff_t(y + saved.bounds.y0) * stride);
        const auto* from = saved.pixels.data() + std::ptrdiff_t(y) * width;
        const int surfaceY = y + saved.bounds.y0;
        for (int x = 0; x < width; ++x) {
            const int surfaceX = x + saved.bounds.x0;
            const bool kept = surfaceX >= keep.x0 && surfaceX < keep.x1 && surfaceY >= keep.y0 && surfaceY < keep.y1;
            if (!kept) row[surfaceX] = from[x];
        }
    }
    cairo_surface_mark_dirty(surface);
}

Bitmap CairoCanvas::bitmap(int x, int y, int width, int height) const {
    return bitmapFromSurface(surface_->surface.get(), backingScale(), x, y, width, height);
}

Result<Data> CairoCanvas::pngData() const { return encodePng(bitmap()); }

namespace {

// User space of the current state to pixels.
cairo_matrix_t userMatrix(const cairo_matrix_t& device, const AffineTransform& transform) {
    const cairo_matrix_t user = toCairo(transform);
    cairo_matrix_t result;
    cairo_matrix_multiply(&result, &user, &device);
    return result;
}

// A user space squashed flat (scale 0) shows nothing, and handing its matrix
// to cairo would put the context into a permanent error state.
bool drawable(const AffineTransform& transform) {
    const double determinant = transform.determinant();
    return std::isfinite(determinant) && determinant != 0;
}

void applyStrokeStyle(cairo_t* cr, const GraphicsState& state) {
    cairo_set_line_width(cr, state.lineWidth);
    cairo_set_line_cap(cr, state.lineCap == LineCap::round    ? CAIRO_LINE_CAP_ROUND
                           : state.lineCap == LineCap::square ? CAIRO_LINE_CAP_SQUARE
                                                              : CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(cr, state.lineJoin == LineJoin::round   ? CAIRO_LINE_JOIN_ROUND
                            : state.lineJoin == LineJoin::bevel ? CAIRO_LINE_JOIN_BEVEL
                                                                : CAIRO_LINE_JOIN_MITER);
    cairo_set_miter_limit(cr, state.miterLimit);
    const auto& dash = state.lineDash;
    cairo_set_dash(cr, dash.pattern.data(), static_cast<int>(dash.pattern.size()), dash.phase);
}

// The pixels a user-space box covers under `matrix`, with one pixel more on
// each side for anti-aliasing.
PixelBox pixelsCovering(const cairo_matrix_t& matrix, double ux0, double uy0, double ux1, double uy1) {
    double xs[4] = {ux0, ux1, ux0, ux1}, ys[4] = {uy0, uy0, uy1, uy1};
    double minX = HUGE_VAL, minY = HUGE_VAL, maxX = -HUGE_VAL, maxY = -HUGE_VAL;
    for (int i = 0; i < 4; ++i) {
        cairo_matrix_transform_point(&matrix, &xs[i], &ys[i]);
        minX = std::min(minX, xs[i]), maxX = std::max(maxX, xs[i]);
        minY = std::min(minY, ys[i]), maxY = std::max(maxY, ys[i]);
    }
    // Far beyond any surface: clamp before converting to int.
    auto clamped = [](double v) { return std::clamp(v, -1e7, 1e7); };
    return PixelBox{static_cast<int>(std::floor(clamped(minX))) - 1, static_cast<int>(std::floor(clamped(minY))) - 1,
                    static_cast<int>(std::ceil(clamped(maxX))) + 1, static_cast<int>(std::ceil(clamped(maxY))) + 1};
}

// The pixels filling or stroking `path` in user space `matrix` can touch.
PixelBox pathPixels(cairo_t* cr, const cairo_matrix_t& matrix, const Path& path, const GraphicsState* strokeStyle) {
    if (!strokeStyle) {
        // A fill stays within its points' bounds; cairo would flatten the curves to find out.
        const Rect bounds = path.bounds();
        return pixelsCovering(matrix, bounds.minX(), bounds.minY(), bounds.maxX(), bounds.maxY());
    }
    cairo_save(cr);
    cairo_set_matrix(cr, &matrix);
    setPath(cr, path);
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    applyStrokeStyle(cr, *strokeStyle);
    cairo_stroke_extents(cr, &x0, &y0, &x1, &y1);
    cairo_new_path(cr);
    cairo_restore(cr);
    return pixelsCovering(matrix, x0, y0, x1, y1);
}

// Operators under which a transparent source leaves the surface as it is,
// so a layer needs to reach no further than what was drawn into it.
bool transparentSourceKeepsSurface(CompositingOperation operation) {
    switch (operation) {
    case CompositingOperation::sourceOver:
    case CompositingOperation::sourceAtop:
    case CompositingOperation::destinationOver:
    case CompositingOperation::destinationOut:
    case CompositingOperation::plusLighter: return true;
    default: return false;
    }
}

// The clip's extents in pixels (the matrix must be the identity).
PixelBox clipPixels(cairo_t* cr) {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    cairo_clip_extents(cr, &x0, &y0, &x1, &y1);
    return {static_cast<int>(std::floor(x0)), static_cast<int>(std::floor(y0)), static_cast<int>(std::ceil(x1)),
            static_cast<int>(std::ceil(y1))};
}

// Blurs the A8 `mask` as blurAlpha does; a small mask's blur is taken from
// or kept in the target's remembered masks when `cacheable`.
void blurRemembered(const Target& target, cairo_surface_t* mask, double radius, std::optional<PixelBox> solid,
                    bool cacheable) {
    const int width = cairo_image_surface_get_width(mask), height = cairo_image_surface_get_height(mask);
    if (!cacheable || !target.blurredMasks || width * height > BlurredMasks::largestArea) {
        blurAlpha(mask, radius, solid);
        return;
    }
    cairo_surface_flush(mask);
    unsigned char* data = cairo_image_surface_get_data(mask);
    const int stride = cairo_image_surface_get_stride(mask);
    if (!data) return;
    // The key: the mask's size, the blur and the solid box, then its rows.
    const std::array<double, 7> header{double(width), double(height), radius, solid ? 1.0 : 0.0,
                                       solid ? double(solid->x0) : 0, solid ? double(solid->y0) : 0,
                                       solid ? double(solid->x1 * 65536 + solid->y1) : 0};
    std::string key(reinterpret_cast<const char*>(header.data()), sizeof header);
    key.reserve(key.size() + std::size_t(width) * height);
    for (int y = 0; y < height; ++y) key.append(reinterpret_cast<const char*>(data + std::ptrdiff_t(y) * stride), width);
    const auto copyRows = [&](const unsigned char* from) {
        for (int y = 0; y < height; ++y)
            std::copy_n(from + std::ptrdiff_t(y) * width, width, data + std::ptrdiff_t(y) * stride);
        cairo_surface_mark_dirty(mask);
    };
    if (const auto* blurred = target.blurredMasks->find(key)) {
        copyRows(blurred->data());
        return;
    }
    blurAlpha(mask, radius, solid);
    cairo_surface_flush(mask);
    std::vector<unsigned char> blurred(std::size_t(width) * height);
    for (int y = 0; y < height; ++y)
        std::copy_n(data + std::ptrdiff_t(y) * stride, width, blurred.begin() + std::ptrdiff_t(y) * width);
    target.blurredMasks->insert(std::move(key), std::move(blurred));
}

// A clip's extent and coverage, made once for all that is drawn through it.
void prepareClip(const ClipShape& clip, const Target& target) {
    // The ball of a lamp at scale 2 fits; a window-sized card's rounded
    // corners would cost more to mask than cairo's own clip.
    constexpr int largestMask = 320 * 320;
    const PixelBox surface{0, 0, target.pixelsWide, target.pixelsHigh};
    if (clip.path.isEmpty()) {
        clip.extent = PixelBox{};
        return;
    }
    if (const auto* rect = clip.path.shape() ? std::get_if<Path::RectShape>(&*clip.path.shape()) : nullptr;
        rect && clip.matrix.xy == 0 && clip.matrix.yx == 0) {
        double x0 = rect->rect.minX(), y0 = rect->rect.minY(), x1 = rect->rect.maxX(), y1 = rect->rect.maxY();
        cairo_matrix_transform_point(&clip.matrix, &x0, &y0);
        cairo_matrix_transform_point(&clip.matrix, &x1, &y1);
        const auto whole = [](double v) { return std::abs(v) < 1e7 && v == std::round(v); };
        if (whole(x0) && whole(y0) && whole(x1) && whole(y1)) {
            clip.extent = PixelBox{static_cast<int>(std::min(x0, x1)), static_cast<int>(std::min(y0, y1)),
                                   static_cast<int>(std::max(x0, x1)), static_cast<int>(std::max(y0, y1))}
                              .intersection(surface);
            return;
        }
    }
    const PixelBox extent = pathPixels(target.cr, clip.matrix, clip.path, nullptr).intersection(surface);
    clip.extent = extent;
    if (extent.isEmpty()) return;
    if (static_cast<long>(extent.width()) * extent.height() > largestMask) {
        clip.maskable = false;
        return;
    }
    clip.coverage.reset(cairo_image_surface_create(CAIRO_FORMAT_A8, extent.width(), extent.height()));
    if (cairo_surface_status(clip.coverage.get()) != CAIRO_STATUS_SUCCESS) {
        clip.coverage.reset();
        clip.maskable = false;
        return;
    }
    cairo_t* m = cairo_create(clip.coverage.get());
    cairo_translate(m, -extent.x0, -extent.y0);
    cairo_transform(m, &clip.matrix);
    setPath(m, clip.path);
    cairo_set_fill_rule(m, clip.rule);
    cairo_fill(m);
    cairo_destroy(m);
}

// A8 masks placed on the surface: `into` at `intoAt`, `by` at `byAt`. Over
// `area` (inside both), each pixel of `into` is multiplied by that of `by`,
// rounded as pixman rounds.
void multiplyAlpha(cairo_surface_t* into, Point intoAt, cairo_surface_t* by, Point byAt, const PixelBox& area) {
    cairo_surface_flush(into);
    cairo_surface_flush(by);
    unsigned char* to = cairo_image_surface_get_data(into);
    const unsigned char* from = cairo_image_surface_get_data(by);
    if (!to || !from) return;
    const int toStride = cairo_image_surface_get_stride(into), fromStride = cairo_image_surface_get_stride(by);
    const int ix = static_cast<int>(intoAt.x), iy = static_cast<int>(intoAt.y);
    const int bx = static_cast<int>(byAt.x), by0 = static_cast<int>(byAt.y);
    const int width = area.width();
    for (int y = area.y0; y < area.y1; ++y) {
        unsigned char* __restrict row = to + std::ptrdiff_t(y - iy) * toStride + (area.x0 - ix);
        const unsigned char* __restrict other = from + std::ptrdiff_t(y - by0) * fromStride + (area.x0 - bx);
        for (int x = 0; x < width; ++x) {
            const std::uint16_t t = static_cast<std::uint16_t>(row[x] * other[x] + 128);
            row[x] = static_cast<unsigned char>((t + (t >> 8)) >> 8);
        }
    }
    cairo_surface_mark_dirty(into);
}

bool clipsAreMaskable(const Target& target) {
    if (!target.clips) return false;
    for (const auto& clip : *target.clips) {
        if (!clip.extent) prepareClip(clip, target);
        if (!clip.maskable) return false;
    }
    return true;
}

// Whether the (prepared) clip lets all of `box` through.
bool coversFully(const ClipShape& clip, const PixelBox& box) {
    if (!clip.extent->contains(box)) return false;
    if (!clip.coverage) return true;
    cairo_surface_flush(clip.coverage.get());
    const unsigned char* data = cairo_image_surface_get_data(clip.coverage.get());
    const int stride = cairo_image_surface_get_stride(clip.coverage.get());
    for (int y = box.y0; y < box.y1; ++y) {
        const unsigned char* row = data + std::ptrdiff_t(y - clip.extent->y0) * stride + (box.x0 - clip.extent->x0);
        if (!std::all_of(row, row + box.width(), [](unsigned char v) { return v == 255; })) return false;
    }
    return true;
}

// Multiplies `mask` (an A8 mask over `box`, pixels of the surface) by the
// clips' coverage: zero past their extents, each clip's own mask within.
// cairo rasterises a curved clip again for every paint through it, at
// several times the cost of a small paint itself; the clips' masks are made
// once, by the same rasteriser, so each pixel keeps its coverage where one
// clip's edge crosses it. (Where two edges cross one pixel, cairo's own clip
// would take the area of their overlap, not the product.) The clips must be
// maskable.
void multiplyByClipCoverage(const Target& target, cairo_surface_t* mask, const PixelBox& box) {
    PixelBox reached = box;
    for (const auto& clip : *target.clips) reached = reached.intersection(*clip.extent);
    cairo_surface_flush(mask);
    unsigned char* data = cairo_image_surface_get_data(mask);
    const int stride = cairo_image_surface_get_stride(mask);
    if (!data) return;
    for (int y = box.y0; y < box.y1; ++y) {
        unsigned char* row = data + std::ptrdiff_t(y - box.y0) * stride;
        if (reached.isEmpty() || y < reached.y0 || y >= reached.y1) {
            std::fill_n(row, box.width(), 0);
            continue;
        }
        std::fill_n(row, reached.x0 - box.x0, 0);
        std::fill_n(row + (reached.x1 - box.x0), box.x1 - reached.x1, 0);
    }
    cairo_surface_mark_dirty(mask);
    if (reached.isEmpty()) return;
    const Point at{double(box.x0), double(box.y0)};
    for (const auto& clip : *target.clips) {
        if (clip.coverage)
            multiplyAlpha(mask, at, clip.coverage.get(), {double(clip.extent->x0), double(clip.extent->y0)}, reached);
    }
}

// The clips' coverage over `box`, as an A8 mask the size of the box; null
// when a clip is too large for a mask.
SurfacePtr clipCoverage(const Target& target, const PixelBox& box) {
    if (!clipsAreMaskable(target) || box.isEmpty()) return nullptr;
    SurfacePtr mask(cairo_image_surface_create(CAIRO_FORMAT_A8, box.width(), box.height()));
    if (cairo_surface_status(mask.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
    cairo_surface_flush(mask.get());
    unsigned char* data = cairo_image_surface_get_data(mask.get());
    const int stride = cairo_image_surface_get_stride(mask.get());
    for (int y = 0; y < box.height(); ++y) std::fill_n(data + std::ptrdiff_t(y) * stride, box.width(), 255);
    cairo_surface_mark_dirty(mask.get());
    multiplyByClipCoverage(target, mask.get(), box);
    return mask;
}

// Whether the clip has a curved or part-pixel edge, which cairo handles slowly.
bool clipIsCurved(cairo_t* cr) {
    cairo_save(cr);
    cairo_identity_matrix(cr);
    std::unique_ptr<cairo_rectangle_list_t, decltype(&cairo_rectangle_list_destroy)> rectangles(
        cairo_copy_clip_rectangle_list(cr), cairo_rectangle_list_destroy);
    cairo_restore(cr);
    return rectangles->status != CAIRO_STATUS_SUCCESS;
}

// Paints the source `setSource` sets with `alpha` over the clip, through a
// mask of the clip's coverage with cairo's own clip set aside. False when
// not done: a clip of whole-pixel rectangles (cairo's fast case) or one too
// large for a mask.
bool paintThroughClipCoverage(const Target& target, double alpha, const std::function<void(cairo_t*)>& setSource) {
    cairo_t* cr = target.cr;
    // Through one curved clip cairo paints as fast as it fills the clip's
    // shape; only where curved clips cross it works the coverage out.
    if (!target.clips || target.clips->empty() || !clipIsCurved(cr) || !clipsAreMaskable(target)) return false;
    const auto curved = std::count_if(target.clips->begin(), target.clips->end(),
                                      [](const ClipShape& clip) { return clip.coverage != nullptr; });
    if (curved < 2) return false;
    cairo_save(cr);
    cairo_identity_matrix(cr);
    const PixelBox box = clipPixels(cr).intersection({0, 0, target.pixelsWide, target.pixelsHigh});
    if (box.isEmpty()) {
        cairo_restore(cr);
        return true;
    }
    // Edges of two clips crossing in the box: cairo's exact overlap.
    const auto cut = std::count_if(target.clips->begin(), target.clips->end(),
                                   [&](const ClipShape& clip) { return !coversFully(clip, box); });
    if (cut > 1) {
        cairo_restore(cr);
        return false;
    }
    const SurfacePtr mask = clipCoverage(target, box);
    if (!mask) {
        cairo_restore(cr);
        return false;
    }
    if (alpha < 1) {
        cairo_t* m = cairo_create(mask.get());
        cairo_set_operator(m, CAIRO_OPERATOR_DEST_IN);
        cairo_set_source_rgba(m, 0, 0, 0, alpha);
        cairo_paint(m);
        cairo_destroy(m);
    }
    setSource(cr);
    cairo_identity_matrix(cr);
    cairo_reset_clip(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    cairo_mask_surface(cr, mask.get(), box.x0, box.y0);
    cairo_restore(cr);
    return true;
}

// Paints the layer's coverage, blurred, in the shadow colour at the
// shadow's offset. The blur runs over `region` (what the layer covers) with
// room for its spread, not over the whole surface: the three box passes
// spread coverage by three radii, so past that margin the surface would
// only hold zeros, and at the surface's own edges the region ends where the
// surface does.
// `coverage` paints what casts the shadow into the mask's context (in
// surface pixels; the context is already moved to the mask's place).
// `covered`, when known, is a box of the surface the shape covers fully
// and is painted over opaquely afterwards: its shadow there is never seen.
// `throughClipCoverage`: the clip is curved, and the shadow is cut by the
// clip's coverage (see clipCoverage) where it falls on whole pixels.
// `cacheable`: the coverage depends on nothing but what `coverage` paints,
// so a small one's blur may be remembered.
void paintShadow(const Target& target, const std::function<void(cairo_t*)>& coverage,
                 const PixelBox& region, const PixelBox& shape, const Shadow& shadow, double alpha,
                 Appearance appearance, std::optional<PixelBox> covered = std::nullopt,
                 bool throughClipCoverage = false, bool cacheable = false) {
    cairo_t* cr = target.cr;
    const double blur = shadow.blurRadius * target.scale;
    const int spread = blur >= 2 ? 3 * static_cast<int>(std::lround(std::min(blur, 512.0) / 2)) + 1 : 0;
    if (target.watch && target.watch->area && !target.watch->area->contains(shape)) {
        const int dx = static_cast<int>(std::ceil(std::abs(shadow.offset.width * target.scale)));
        const int dy = static_cast<int>(std::ceil(std::abs(shadow.offset.height * target.scale)));
        target.watch->margin = std::max(target.watch->margin, spread + std::max(dx, dy) + 1);
    }
    const PixelBox surface{0, 0, target.pixelsWide, target.pixelsHigh};
    const PixelBox box = region.outset(spread).intersection(surface);
    if (box.isEmpty()) return;
    SurfacePtr mask(cairo_image_surface_create(CAIRO_FORMAT_A8, box.width(), box.height()));
    if (cairo_surface_status(mask.get()) != CAIRO_STATUS_SUCCESS) return;
    cairo_t* m = cairo_create(mask.get());
    cairo_translate(m, -box.x0, -box.y0);
    coverage(m);
    cairo_destroy(m);
    std::optional<PixelBox> solid;
    if (covered) solid = PixelBox{covered->x0 - box.x0, covered->y0 - box.y0, covered->x1 - box.x0, covered->y1 - box.y0};
    blurRemembered(target, mask.get(), blur, solid, cacheable);
    // The offset is given y up, so it is negated for the surface.
    const double x = box.x0 + shadow.offset.width * target.scale, y = box.y0 - shadow.offset.height * target.scale;
    const double shadowAlpha = shadow.color.rgba(appearance).alpha * alpha;
    setSourceColor(cr, shadow.color.withAlphaComponent(shadowAlpha), appearance);
    cairo_save(cr);
    if (throughClipCoverage && x == std::floor(x) && y == std::floor(y) && std::abs(x) < 1e7 && std::abs(y) < 1e7 &&
        clipsAreMaskable(target)) {
        // The shadow stays where the clip covers, as much as it covers.
        const int atX = static_cast<int>(x), atY = static_cast<int>(y);
        multiplyByClipCoverage(target, mask.get(), {atX, atY, atX + box.width(), atY + box.height()});
        cairo_reset_clip(cr);
    }
    if (covered && !covered->isEmpty()) {
        // Whole pixels: the clip leaves every other pixel's coverage as it is.
        cairo_rectangle(cr, surface.x0, surface.y0, surface.width(), surface.height());
        cairo_rectangle(cr, covered->x0, covered->y0, covered->width(), covered->height());
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
        cairo_clip(cr);
    }
    cairo_mask_surface(cr, mask.get(), x, y);
    cairo_restore(cr);
}

// What a paint does, which decides when it needs a layer of its own.
enum class Painting {
    // One cairo operation, applying the alpha it is handed: translucency
    // alone needs no layer (a layer painted back through the clip would
    // only cost a surface-sized copy and apply the clip's edge twice).
    singleOperation,
    // Several operations, whose overlaps must not show through each other.
    severalOperations,
    // Always in a layer, so its compositing stays within it.
    isolated,
};

// Whether a single paint goes straight onto the surface, with no layer.
bool paintsDirectly(const GraphicsState& state) {
    return !state.shadow && state.compositingOperation == CompositingOperation::sourceOver;
}

// Draws `paint` (which sets its own matrix and draws with OVER, applying
// the alpha it is handed) with the state's alpha, shadow and compositing.
// Source-over drawing without a shadow goes straight to the surface when
// `painting` allows; anything else is drawn into a layer first (handed
// alpha 1). `drawn`, when given, bounds what `paint` touches (asked only
// when a layer is needed): the layer and the shadow's blur then cover only
// that (with the clip), instead of the whole surface.
void withEffects(const Target& target, const GraphicsState& state, Appearance appearance, Painting painting,
                 const std::function<PixelBox()>& drawn, const std::function<void(cairo_t*, double alpha)>& paint) {
    cairo_t* cr = target.cr;
    const bool direct = paintsDirectly(state) &&
                        (state.alpha >= 1 ? painting != Painting::isolated : painting == Painting::singleOperation);
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    if (direct) {
        paint(cr, std::min(state.alpha, 1.0));
        cairo_restore(cr);
        return;
    }
    // Identity before the push so the layer lines up with the surface when
    // painted back at identity.
    cairo_identity_matrix(cr);
    PixelBox region = clipPixels(cr).intersection({0, 0, target.pixelsWide, target.pixelsHigh});
    const bool bounded = drawn && transparentSourceKeepsSurface(state.compositingOperation);
    const PixelBox whole{0, 0, target.pixelsWide, target.pixelsHigh};
    const PixelBox shape = drawn ? drawn() : whole;
    if (bounded) region = region.intersection(shape);
    if (region.isEmpty() && bounded) {
        cairo_restore(cr);
        return;
    }
    cairo_save(cr);
    if (bounded) {
        // Whole pixels, so the clip itself changes no pixel's coverage.
        cairo_rectangle(cr, region.x0, region.y0, region.width(), region.height());
        cairo_clip(cr);
    }
    cairo_push_group(cr);
    paint(cr, 1);
    PatternPtr layer(cairo_pop_group(cr));
    cairo_restore(cr);
    cairo_identity_matrix(cr);
    cairo_set_operator(cr, toCairo(state.compositingOperation));
    if (state.shadow) {
        const auto coverage = [&](cairo_t* m) {
            cairo_set_source(m, layer.get());
            cairo_paint(m);
        };
        paintShadow(target, coverage, region, shape, *state.shadow, state.alpha, appearance);
    }
    cairo_set_source(cr, layer.get());
    cairo_paint_with_alpha(cr, state.alpha);
    cairo_restore(cr);
}

// Pixels a rectangle or rounded rectangle in user space `matrix` (without
// rotation) covers wholly, or none.
std::optional<PixelBox> fullyCoveredPixels(const cairo_matrix_t& matrix, const Path& path) {
    if (!path.shape() || matrix.xy != 0 || matrix.yx != 0) return std::nullopt;
    Rect inner;
    if (const auto* rect = std::get_if<Path::RectShape>(&*path.shape())) {
        inner = rect->rect;
    } else if (const auto* rounded = std::get_if<Path::RoundedRectShape>(&*path.shape())) {
        // Inside the corners' arcs at 45 degrees.
        constexpr double insideArc = 1 - 0.70710678118654752;
        inner = rounded->rect.insetBy(rounded->radiusX * insideArc, rounded->radiusY * insideArc);
    } else {
        return std::nullopt;
    }
    if (inner.isEmpty()) return std::nullopt;
    double x0 = inner.minX(), y0 = inner.minY(), x1 = inner.maxX(), y1 = inner.maxY();
    cairo_matrix_transform_point(&matrix, &x0, &y0);
    cairo_matrix_transform_point(&matrix, &x1, &y1);
    auto clamped = [](double v) { return std::clamp(v, -1e7, 1e7); };
    // Inward to whole pixels, and one more for anti-aliasing.
    const PixelBox box{static_cast<int>(std::ceil(clamped(std::min(x0, x1)))) + 1,
                       static_cast<int>(std::ceil(clamped(std::min(y0, y1)))) + 1,
                       static_cast<int>(std::floor(clamped(std::max(x0, x1)))) - 1,
                       static_cast<int>(std::floor(clamped(std::max(y0, y1)))) - 1};
    return box.isEmpty() ? std::nullopt : std::optional<PixelBox>(box);
}

// An opaque shape with a shadow casts its own coverage: the shadow's mask is
// the path filled within the clip (its rectangles copied, or its curved
// clips laid again), and the shape goes straight onto the surface, with no
// layer. False when not done.
bool fillCastingShadow(const Target& target, const cairo_matrix_t& matrix, const Path& path, cairo_fill_rule_t fillRule,
                       const GraphicsState& state, Appearance appearance) {
    if (!state.shadow || state.alpha < 1 || state.compositingOperation != CompositingOperation::sourceOver ||
        state.fillColor.rgba(appearance).alpha < 1)
        return false;
    cairo_t* cr = target.cr;
    cairo_save(cr);
    cairo_identity_matrix(cr);
    std::unique_ptr<cairo_rectangle_list_t, decltype(&cairo_rectangle_list_destroy)> clipBoxes(
        cairo_copy_clip_rectangle_list(cr), cairo_rectangle_list_destroy);
    const bool curvedClip = clipBoxes->status != CAIRO_STATUS_SUCCESS;
    const PixelBox shape = pathPixels(cr, matrix, path, nullptr);
    // Under a curved clip only a shape the clip leaves whole: its coverage
    // is then the path's alone, and only the shadow is cut.
    const auto leavesWhole = [&] {
        return std::all_of(target.clips->begin(), target.clips->end(),
                           [&](const ClipShape& clip) { return coversFully(clip, shape); });
    };
    if (curvedClip && !(clipsAreMaskable(target) && leavesWhole())) {
        cairo_restore(cr);
        return false;
    }
    const PixelBox region = clipPixels(cr).intersection({0, 0, target.pixelsWide, target.pixelsHigh}).intersection(shape);
    std::optional<PixelBox> covered = fullyCoveredPixels(matrix, path);
    if (covered && !curvedClip && clipBoxes->num_rectangles == 1) {
        const auto& clip = clipBoxes->rectangles[0];
        covered = covered->intersection({static_cast<int>(std::ceil(clip.x)), static_cast<int>(std::ceil(clip.y)),
                                         static_cast<int>(std::floor(clip.x + clip.width)),
                                         static_cast<int>(std::floor(clip.y + clip.height))});
    } else {
        covered.reset();
    }
    if (covered && covered->isEmpty()) covered.reset();
    // A small, widely blurred shadow (a glow) falls on a quarter-pixel grid,
    // so that shapes alike cast the very same mask and its blur is
    // remembered. At most an eighth of a pixel from the shape, it moves its
    // soft edge by a level or two; a tight shadow's sharper edge would show
    // it, so those stay where they fall.
    constexpr double narrowestGlow = 8;  // blur, in pixels
    const bool glow = static_cast<long>(shape.width()) * shape.height() <= BlurredMasks::largestArea / 4 &&
                       state.shadow->blurRadius * target.scale >= narrowestGlow;
    Point shift{0, 0};
    if (glow) {
        const Rect bounds = path.bounds();
        double x = bounds.minX(), y = bounds.minY();
        cairo_matrix_transform_point(&matrix, &x, &y);
        shift = {std::round(x * 4) / 4 - x, std::round(y * 4) / 4 - y};
    }
    const auto coverage = [&](cairo_t* m) {
        cairo_save(m);
        if (!curvedClip) {
            for (int i = 0; i < clipBoxes->num_rectangles; ++i) {
                const auto& r = clipBoxes->rectangles[i];
                cairo_rectangle(m, r.x, r.y, r.width, r.height);
            }
            cairo_clip(m);
        }
        cairo_translate(m, shift.x, shift.y);
        cairo_transform(m, &matrix);
        setPath(m, path);
        cairo_set_fill_rule(m, fillRule);
        cairo_fill(m);
        cairo_restore(m);
    };
    if (!region.isEmpty())
        paintShadow(target, coverage, region, shape, *state.shadow, 1, appearance, covered, curvedClip, glow);
    if (curvedClip) cairo_reset_clip(cr);  // it lets the whole shape through
    cairo_set_matrix(cr, &matrix);
    setPath(cr, path);
    cairo_set_fill_rule(cr, fillRule);
    setSourceColor(cr, state.fillColor, appearance);
    cairo_fill(cr);
    cairo_restore(cr);
    return true;
}

// How fast any premultiplied channel of the gradient changes, in 8-bit
// levels per unit of the gradient's length; infinite at a hard step.
double steepestLevelsPerUnit(const Gradient& gradient, Appearance appearance) {
    const auto& stops = gradient.stops();
    const auto premultiplied = [&](const Color& color) {
        const RGBA v = color.rgba(appearance);
        auto unit = [](double c) { return std::isnan(c) ? 0 : std::clamp(c, 0.0, 1.0); };
        const double a = unit(v.alpha);
        return std::array<double, 4>{unit(v.red) * a * 255, unit(v.green) * a * 255, unit(v.blue) * a * 255, a * 255};
    };
    double steepest = 0;
    for (std::size_t i = 1; i < stops.size(); ++i) {
        const auto from = premultiplied(stops[i - 1].color), to = premultiplied(stops[i].color);
        double change = 0;
        for (std::size_t c = 0; c < 4; ++c) change = std::max(change, std::abs(to[c] - from[c]));
        if (change == 0) continue;
        const double length = stops[i].location - stops[i - 1].location;
        if (!(length > 0)) return HUGE_VAL;
        steepest = std::max(steepest, change / length);
    }
    return steepest;
}

// pixman works out a linear gradient that runs across rows and columns at
// once pixel by pixel, ten times slower than one along a row or a column: a
// diagonal wash over a window at scale 2 took over 20 ms. Every row of such
// a gradient is the row above shifted sideways, so one long row is rendered
// by pixman (its colours exactly) and copied into each row, shifted to the
// nearest whole pixel, a band of rows at a time. The shift moves a pixel's
// colour by at most half a pixel's step along the gradient; the rows are
// used only where that stays under a quarter of a level, so a pixel differs
// from pixman's own by a rounding at most. `pattern` is the gradient in the
// user space `matrix`, painted with `alpha`; false when not done (a small
// area, a stepped or steep gradient, one along a row or column), for a
// direct paint.
bool paintLinearGradientByShiftedRows(cairo_t* cr, cairo_pattern_t* pattern, const cairo_matrix_t& matrix, Point start,
                                      Point end, double steepestLevels, const PixelBox& surface, double alpha) {
    constexpr int smallestArea = 128 * 128;
    constexpr double largestShiftPerRow = 16;
    constexpr int bandRows = 64;
    double sx = start.x, sy = start.y, ex = end.x, ey = end.y;
    cairo_matrix_transform_point(&matrix, &sx, &sy);
    cairo_matrix_transform_point(&matrix, &ex, &ey);
    const double dx = ex - sx, dy = ey - sy, lengthSquared = dx * dx + dy * dy;
    if (!(lengthSquared > 0) || !std::isfinite(lengthSquared)) return false;
    // Steps of the gradient's unit per pixel along a row and down a column.
    const double alongRow = dx / lengthSquared, downColumn = dy / lengthSquared;
    if (!(std::abs(downColumn) <= largestShiftPerRow * std::abs(alongRow)) || downColumn == 0) return false;
    if (!(0.5 * std::abs(alongRow) * steepestLevels <= 0.25)) return false;
    // Row y equals row y0 read `shiftPerRow` pixels further on for each row down.
    const double shiftPerRow = downColumn / alongRow;

    cairo_save(cr);
    cairo_identity_matrix(cr);
    const PixelBox box = clipPixels(cr).intersection(surface);
    if (box.isEmpty() || box.width() * box.height() < smallestArea) {
        cairo_restore(cr);
        return box.isEmpty();
    }
    const int width = box.width(), height = box.height();
    const long lastShift = std::lround(shiftPerRow * (height - 1));
    const int stripStart = box.x0 + static_cast<int>(std::min(0L, lastShift));
    const int stripLength = width + static_cast<int>(std::abs(lastShift));
    SurfacePtr strip(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, stripLength, 1));
    if (cairo_surface_status(strip.get()) != CAIRO_STATUS_SUCCESS) {
        cairo_restore(cr);
        return false;
    }
    cairo_t* s = cairo_create(strip.get());
    cairo_translate(s, -stripStart, -box.y0);
    cairo_transform(s, &matrix);
    cairo_set_source(s, pattern);
    cairo_set_operator(s, CAIRO_OPERATOR_SOURCE);
    cairo_paint(s);
    cairo_destroy(s);
    cairo_surface_flush(strip.get());
    const auto* stripPixels = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(strip.get()));

    std::vector<std::uint32_t> band(static_cast<std::size_t>(width) * std::min(bandRows, height));
    for (int top = 0; top < height; top += bandRows) {
        const int rows = std::min(bandRows, height - top);
        for (int row = 0; row < rows; ++row) {
            const long shift = std::lround(shiftPerRow * (top + row));
            const auto* from = stripPixels + (box.x0 - stripStart) + shift;
            std::copy(from, from + width, band.begin() + std::ptrdiff_t(row) * width);
        }
        SurfacePtr pixels(cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(band.data()),
                                                              CAIRO_FORMAT_ARGB32, width, rows,
                                                              width * static_cast<int>(sizeof(std::uint32_t))));
        cairo_save(cr);
        cairo_rectangle(cr, box.x0, box.y0 + top, width, rows);
        cairo_clip(cr);
        cairo_set_source_surface(cr, pixels.get(), box.x0, box.y0 + top);
        cairo_paint_with_alpha(cr, alpha);
        // The band's memory is written again next: cairo must let go of it.
        cairo_restore(cr);
        cairo_surface_finish(pixels.get());
    }
    cairo_restore(cr);
    return true;
}

// A layer's picture and what it was drawn for: it is painted back only in
// the same user space, appearance and surface.
struct CairoLayer final : CanvasLayer {
    PatternPtr picture;  // none when the area fell outside the canvas
    cairo_matrix_t matrix{};
    Appearance appearance = Appearance::light;
    cairo_surface_t* surface = nullptr;
    PixelBox box;

    bool fits(const cairo_matrix_t& now, Appearance nowAppearance, cairo_surface_t* nowSurface) const {
        return now.xx == matrix.xx && now.yx == matrix.yx && now.xy == matrix.xy && now.yy == matrix.yy &&
               now.x0 == matrix.x0 && now.y0 == matrix.y0 && nowAppearance == appearance && nowSurface == surface;
    }
};

// Runs `draw` with the canvas's clips set aside, while cairo's clip is reset
// for drawing into a layer.
template <typename Surface>
void withClipsSetAside(Surface& surface, const std::function<void()>& draw) {
    auto clips = std::exchange(surface.clips, {});
    auto savedClipCounts = std::exchange(surface.savedClipCounts, {});
    draw();
    surface.clips = std::move(clips);
    surface.savedClipCounts = std::move(savedClipCounts);
}

}  // namespace

std::unique_ptr<CanvasLayer> CairoCanvas::onMakeLayer(Rect area, const std::function<void()>& draw) {
    const GraphicsState& st = state();
    if (!drawable(st.transform)) return nullptr;
    cairo_t* cr = surface_->cr;
    auto layer = std::make_unique<CairoLayer>();
    layer->matrix = userMatrix(surface_->device, st.transform);
    layer->appearance = appearance();
    layer->surface = cairo_get_group_target(cr);
    // The whole pixels the area touches.
    const PixelBox touched = pixelsCovering(layer->matrix, area.minX(), area.minY(), area.maxX(), area.maxY()).outset(-1);
    layer->box = touched.intersection({0, 0, surface_->pixelsWide, surface_->pixelsHigh});
    if (layer->box.isEmpty()) return layer;
    cairo_save(cr);
    cairo_identity_matrix(cr);
    cairo_reset_clip(cr);
    cairo_rectangle(cr, layer->box.x0, layer->box.y0, layer->box.width(), layer->box.height());
    cairo_clip(cr);
    cairo_push_group(cr);
    // Nothing in the layer is cut by the area being repainted, nor by the
    // clips cairo's were reset from.
    const auto watched = std::exchange(surface_->watch.area, std::nullopt);
    withClipsSetAside(*surface_, draw);
    surface_->watch.area = watched;
    cairo_identity_matrix(cr);
    layer->picture.reset(cairo_pop_group(cr));
    cairo_restore(cr);
    return layer;
}

bool CairoCanvas::onDrawLayer(const CanvasLayer& layer) {
    const auto* drawn = dynamic_cast<const CairoLayer*>(&layer);
    const GraphicsState& st = state();
    if (!drawn || !drawable(st.transform)) return false;
    cairo_t* cr = surface_->cr;
    if (!drawn->fits(userMatrix(surface_->device, st.transform), appearance(), cairo_get_group_target(cr))) return false;
    if (!drawn->picture) return true;
    const auto box = [&] { return drawn->box; };
    withEffects(surface_->target(), st, appearance(), Painting::singleOperation, box, [&](cairo_t* target, double alpha) {
        cairo_identity_matrix(target);
        cairo_set_source(target, drawn->picture.get());
        cairo_paint_with_alpha(target, alpha);
    });
    return true;
}

bool CairoCanvas::onRedrawLayer(CanvasLayer& layer, const std::vector<Rect>& changed,
                                const std::function<void(Rect part)>& draw) {
    auto* kept = dynamic_cast<CairoLayer*>(&layer);
    const GraphicsState& st = state();
    if (!kept || !drawable(st.transform)) return false;
    cairo_t* cr = surface_->cr;
    if (!kept->fits(userMatrix(surface_->device, st.transform), appearance(), cairo_get_group_target(cr))) return false;
    if (!kept->picture || changed.empty()) return true;
    std::optional<PixelBox> area;
    for (const Rect& rect : changed) {
        const PixelBox box = pixelsCovering(kept->matrix, rect.minX(), rect.minY(), rect.maxX(), rect.maxY());
        area = area ? area->unionWith(box) : box;
    }
    area = area->intersection(kept->box);
    if (area->isEmpty()) return true;
    // Past half the layer, drawing it whole costs about the same.
    if (2 * static_cast<long>(area->width()) * area->height() > static_cast<long>(kept->box.width()) * kept->box.height())
        return false;
    cairo_surface_t* picture = nullptr;
    if (cairo_pattern_get_surface(kept->picture.get(), &picture) != CAIRO_STATUS_SUCCESS) return false;
    cairo_matrix_t toUser = kept->matrix;
    if (cairo_matrix_invert(&toUser) != CAIRO_STATUS_SUCCESS) return false;
    const auto userRect = [&](const PixelBox& box) {
        double x0 = box.x0, y0 = box.y0, x1 = box.x1, y1 = box.y1;
        cairo_matrix_transform_point(&toUser, &x0, &y0);
        cairo_matrix_transform_point(&toUser, &x1, &y1);
        return Rect{std::min(x0, x1), std::min(y0, y1), std::abs(x1 - x0), std::abs(y1 - y0)};
    };
    // As a partial repaint of the canvas: a shadow cut by the edge of what
    // is redrawn is wrong near the cut, so the part is redrawn with as much
    // room as such shadows spread, and only the part is kept.
    const ShadowWatch outerWatch = surface_->watch;
    int margin = 0;
    bool redrawn = false;
    for (int round = 0; round < 4 && !redrawn; ++round) {
        const PixelBox painted = area->outset(margin).intersection(kept->box);
        surface_->watch = {painted, 0};
        cairo_save(cr);
        cairo_identity_matrix(cr);
        cairo_reset_clip(cr);
        cairo_rectangle(cr, painted.x0, painted.y0, painted.width(), painted.height());
        cairo_clip(cr);
        cairo_push_group(cr);
        withClipsSetAside(*surface_, [&] { draw(userRect(painted)); });
        cairo_identity_matrix(cr);
        PatternPtr part(cairo_pop_group(cr));
        cairo_restore(cr);
        const int needed = surface_->watch.margin;
        if (needed <= margin || painted.contains(kept->box)) {
            cairo_t* into = cairo_create(picture);
            cairo_rectangle(into, area->x0, area->y0, area->width(), area->height());
            cairo_clip(into);
            cairo_set_source(into, part.get());
            cairo_set_operator(into, CAIRO_OPERATOR_SOURCE);
            cairo_paint(into);
            cairo_destroy(into);
            redrawn = true;
        }
        margin = needed;
    }
    surface_->watch = outerWatch;
    return redrawn;
}

void CairoCanvas::onSave() {
    cairo_save(surface_->cr);
    surface_->savedClipCounts.push_back(surface_->clips.size());
}

void CairoCanvas::onRestore() {
    cairo_restore(surface_->cr);
    if (surface_->savedClipCounts.empty()) return;
    auto& clips = surface_->clips;
    clips.erase(clips.begin() + static_cast<std::ptrdiff_t>(surface_->savedClipCounts.back()), clips.end());
    surface_->savedClipCounts.pop_back();
}

void CairoCanvas::onFill(const Path& path, FillRule rule) {
    const GraphicsState& st = state();
    if (!drawable(st.transform)) return;
    const cairo_matrix_t matrix = userMatrix(surface_->device, st.transform);
    const cairo_fill_rule_t fillRule = rule == FillRule::evenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING;
    if (fillCastingShadow(surface_->target(), matrix, path, fillRule, st, appearance())) return;
    const auto drawn = [&] { return pathPixels(surface_->cr, matrix, path, nullptr); };
    withEffects(surface_->target(), st, appearance(), Painting::singleOperation, drawn, [&](cairo_t* cr, double alpha) {
        cairo_set_matrix(cr, &matrix);
        setPath(cr, path);
        cairo_set_fill_rule(cr, fillRule);
        setSourceColor(cr, st.fillColor, appearance(), alpha);
        cairo_fill(cr);
    });
}

void CairoCanvas::onStroke(const Path& path) {
    const GraphicsState& st = state();
    if (!drawable(st.transform)) return;
    if (st.lineWidth <= 0) return;
    const cairo_matrix_t matrix = userMatrix(surface_->device, st.transform);
    const auto drawn = [&] { return pathPixels(surface_->cr, matrix, path, &st); };
    withEffects(surface_->target(), st, appearance(), Painting::singleOperation, drawn, [&](cairo_t* cr, double alpha) {
        cairo_set_matrix(cr, &matrix);
        setPath(cr, path);
        applyStrokeStyle(cr, st);
        setSourceColor(cr, st.strokeColor, appearance(), alpha);
        cairo_stroke(cr);
    });
}

void CairoCanvas::onClip(const Path& path, FillRule rule) {
    cairo_t* cr = surface_->cr;
    if (!drawable(state().transform)) {
        // Clipping to a flat shape leaves nothing.
        cairo_new_path(cr);
        cairo_clip(cr);
        cairo_matrix_t identity;
        cairo_matrix_init_identity(&identity);
        surface_->clips.emplace_back(Path(), identity, CAIRO_FILL_RULE_WINDING);
        return;
    }
    const cairo_matrix_t matrix = userMatrix(surface_->device, state().transform);
    surface_->clips.emplace_back(path, matrix,
                                 rule == FillRule::evenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
    cairo_save(cr);  // only to keep the matrix out of the saved state
    cairo_set_matrix(cr, &matrix);
    setPath(cr, path);
    cairo_restore(cr);
    // The path survives cairo_restore (it is not part of the state).
    cairo_set_fill_rule(cr, rule == FillRule::evenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
    cairo_clip(cr);
}

void CairoCanvas::onLinearGradient(const Gradient& gradient, Point start, Point end) {
    const GraphicsState& st = state();
    if (!drawable(st.transform)) return;
    const cairo_matrix_t matrix = userMatrix(surface_->device, st.transform);
    const Target target = surface_->target();
    PatternPtr pattern(cairo_pattern_create_linear(start.x, start.y, end.x, end.y));
    addStops(pattern.get(), gradient, appearance());
    const auto setSource = [&](cairo_t* cr) {
        cairo_set_matrix(cr, &matrix);
        cairo_set_source(cr, pattern.get());
    };
    if (paintsDirectly(st) && paintThroughClipCoverage(target, st.alpha, setSource)) return;
    withEffects(target, st, appearance(), Painting::singleOperation, {}, [&](cairo_t* cr, double alpha) {
        cairo_set_matrix(cr, &matrix);
        const PixelBox surface{0, 0, target.pixelsWide, target.pixelsHigh};
        if (paintLinearGradientByShiftedRows(cr, pattern.get(), matrix, start, end,
                                             steepestLevelsPerUnit(gradient, appearance()), surface, alpha))
            return;
        cairo_set_source(cr, pattern.get());
        cairo_paint_with_alpha(cr, alpha);
    });
}

void CairoCanvas::onRadialGradient(const Gradient& gradient, Point startCenter, double startRadius, Point endCenter,
                                   double endRadius) {
    const GraphicsState& st = state();
    if (!drawable(st.transform)) return;
    const cairo_matrix_t matrix = userMatrix(surface_->device, st.transform);
    PatternPtr pattern(
        cairo_pattern_create_radial(startCenter.x, startCenter.y, startRadius, endCenter.x, endCenter.y, endRadius));
    addStops(pattern.get(), gradient, appearance());
    const auto setSource = [&](cairo_t* cr) {
        cairo_set_matrix(cr, &matrix);
        cairo_set_source(cr, pattern.get());
    };
    if (paintsDirectly(st) && paintThroughClipCoverage(surface_->target(), st.alpha, setSource)) return;
    withEffects(surface_->target(), st, appearance(), Painting::singleOperation, {}, [&](cairo_t* cr, double alpha) {
        setSource(cr);
        cairo_paint_with_alpha(cr, alpha);
    });
}

void CairoCanvas::onImage(const Image& image, Rect destination, std::optional<Rect> source, double opacity,
                          CompositingOperation operation) {
    const Size size = image.size();
    const Rect whole{0, 0, size.width, size.height};
    const Rect from = source ? source->intersection(whole) : whole;
    if (from.isEmpty()) return;

    GraphicsState st = state();
    if (!drawable(st.transform)) return;
    st.alpha *= opacity;
    st.compositingOperation = operation;

    if (const auto* handler = image.drawHandler()) {
        if (!*handler) return;
        // The handler draws in a layer of its own (so its compositing stays
        // within the image), mapped from the source part onto the destination.
        save();
        clipToRect(destination);
        translate(destination.minX(), destination.minY());
        scale(destination.width() / from.width(), destination.height() / from.height());
        translate(-from.minX(), -from.minY());
        const GraphicsState inner = state();
        GraphicsState layer = st;
        layer.transform = inner.transform;
        const cairo_matrix_t outer = userMatrix(surface_->device, st.transform);
        const auto drawn = [&] {
            return pixelsCovering(outer, destination.minX(), destination.minY(), destination.maxX(), destination.maxY());
        };
        withEffects(surface_->target(), layer, appearance(), Painting::isolated, drawn, [&](cairo_t*, double) {
            // Inside the layer the handler starts from a clean state.
            setAlpha(1);
            setCompositingOperation(CompositingOperation::sourceOver);
            setShadow(std::nullopt);
            const int depth = saveDepth();
            (*handler)(*this, whole);
            while (saveDepth() > depth) restore();  // a handler that forgot a restore
        });
        restore();
        return;
    }

    const Bitmap* bitmap = image.bitmap();
    if (!bitmap || bitmap->isEmpty()) return;
    const SurfacePtr pixels = surfaceFromBitmap(*bitmap);
    if (cairo_surface_status(pixels.get()) != CAIRO_STATUS_SUCCESS) return;
    // The source part in pixels (rows from the top).
    const double sx = bitmap->pixelsWide() / size.width, sy = bitmap->pixelsHigh() / size.height;
    const double px = from.minX() * sx, py = (size.height - from.maxY()) * sy;
    const double pw = from.width() * sx, ph = from.height() * sy;
    const cairo_matrix_t matrix = userMatrix(surface_->device, st.transform);
    const auto drawn = [&] {
        return pixelsCovering(matrix, destination.minX(), destination.minY(), destination.maxX(), destination.maxY());
    };
    withEffects(surface_->target(), st, appearance(), Painting::singleOperation, drawn, [&](cairo_t* cr, double alpha) {
        cairo_set_matrix(cr, &matrix);
        cairo_rectangle(cr, destination.minX(), destination.minY(), destination.width(), destination.height());
        cairo_clip(cr);
        cairo_translate(cr, destination.minX(), destination.maxY());
        cairo_scale(cr, destination.width() / pw, -destination.height() / ph);
        cairo_translate(cr, -px, -py);
        cairo_set_source_surface(cr, pixels.get(), 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), toCairo(st.imageInterpolation));
        cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
        cairo_paint_with_alpha(cr, alpha);
    });
}

void CairoCanvas::onText(const AttributedString& text, Point origin, std::optional<double> wrapWidth) {
    const GraphicsState& st = state();
    if (!drawable(st.transform)) return;
    const bool flipped = st.transform.flipsOrientation();
    const cairo_matrix_t matrix = userMatrix(surface_->device, st.transform);
    cairo_t* target = surface_->cr;
    cairo_save(target);
    cairo_set_matrix(target, &matrix);
    useProgramFontConfiguration();
    PangoContext* context = pango_cairo_create_context(target);
    cairo_restore(target);
    // Hinting to whole device pixels would make glyph widths depend on the
    // transform; keep outlines exact.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
    const auto layout = pango_text::makeLayout(context, text, wrapWidth, appearance());
    PangoRectangle ink, logical;
    pango_layout_get_extents(layout.get(), &ink, &logical);
    const double height = logical.height / double(PANGO_SCALE);
    // Pango lays out toward +y of a y-down space: user space is turned so
    // that the glyphs stand upright on the device.
    const double top = flipped ? origin.y : (wrapWidth ? origin.y : origin.y + height);
    const double ySign = flipped ? 1 : -1;
    const auto drawn = [&] {
        const double x0 = origin.x + ink.x / double(PANGO_SCALE), x1 = x0 + ink.width / double(PANGO_SCALE);
        const double y0 = top + ySign * ink.y / double(PANGO_SCALE);
        const double y1 = y0 + ySign * ink.height / double(PANGO_SCALE);
        // Glyph outlines may reach a little past pango's ink box.
        return pixelsCovering(matrix, x0, std::min(y0, y1), x1, std::max(y0, y1)).outset(2);
    };
    withEffects(surface_->target(), st, appearance(), Painting::severalOperations, drawn, [&](cairo_t* cr, double) {
        cairo_set_matrix(cr, &matrix);
        cairo_translate(cr, origin.x, top);
        if (!flipped) cairo_scale(cr, 1, -1);
        pango_cairo_update_context(cr, context);
        pango_layout_context_changed(layout.get());
        cairo_move_to(cr, 0, 0);
        pango_cairo_show_layout(cr, layout.get());
    });
    for (const auto& placed : pango_text::placeAttachments(layout.get(), text)) {
        if (!placed.attachment->image) continue;
        save();
        translate(origin.x, top);
        if (!flipped) scale(1, -1);
        // Layout space runs y down; the picture stands upright in it.
        translate(placed.rect.minX(), placed.rect.maxY());
        scale(1, -1);
        drawImage(*placed.attachment->image, {0, 0, placed.rect.width(), placed.rect.height()});
        restore();
    }
    g_object_unref(context);
}

}  // namespace tallowmere::platform
