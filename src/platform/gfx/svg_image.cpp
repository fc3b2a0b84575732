#include "platform/gfx/svg_image.h"

#include <cairo.h>
#include <dlfcn.h>
#include <librsvg/rsvg.h>

#include <cmath>
#include <memory>
#include <mutex>

namespace tallowmere::platform {

namespace {

// The SVG library is large and only a few pictures need it, so it is opened
// when the first SVG is drawn rather than when the program starts.
struct SvgLibrary {
    decltype(&rsvg_handle_new_from_data) newFromData = nullptr;
    decltype(&rsvg_handle_get_intrinsic_size_in_pixels) intrinsicSizeInPixels = nullptr;
    decltype(&rsvg_handle_get_intrinsic_dimensions) intrinsicDimensions = nullptr;
    decltype(&rsvg_handle_render_document) renderDocument = nullptr;

    bool isLoaded() const { return newFromData && intrinsicSizeInPixels && intrinsicDimensions && renderDocument; }

    static const SvgLibrary& shared() {
        static SvgLibrary library;
        static std::once_flag opened;
        std::call_once(opened, [] {
            void* handle = ::dlopen("librsvg-2.so.2", RTLD_NOW | RTLD_LOCAL);
            if (!handle) return;
            library.newFromData =
                reinterpret_cast<decltype(&rsvg_handle_new_from_data)>(::dlsym(handle, "rsvg_handle_new_from_data"));
            library.intrinsicSizeInPixels = reinterpret_cast<decltype(&rsvg_handle_get_intrinsic_size_in_pixels)>(
                ::dlsym(handle, "rsvg_handle_get_intrinsic_size_in_pixels"));
            library.intrinsicDimensions = reinterpret_cast<decltype(&rsvg_handle_get_intrinsic_dimensions)>(
                ::dlsym(handle, "rsvg_handle_get_intrinsic_dimensions"));
            library.renderDocument = reinterpret_cast<decltype(&rsvg_handle_render_document)>(
                ::dlsym(handle, "rsvg_handle_render_document"));
        });
        return library;
    }
};

struct HandleRelease {
    void operator()(RsvgHandle* handle) const { g_object_unref(handle); }
};
struct SurfaceRelease {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct ContextRelease {
    void operator()(cairo_t* context) const { cairo_destroy(context); }
};

}  // namespace

Result<Image> imageFromSvg(std::string_view document, double scale) {
    if (!(scale > 0 && std::isfinite(scale))) return Error{ErrorCode::invalidArgument, "Bad SVG scale"};
    const SvgLibrary& rsvg = SvgLibrary::shared();
    if (!rsvg.isLoaded()) return Error{ErrorCode::unsupported, "The SVG library is not installed"};
    GError* error = nullptr;
    std::unique_ptr<RsvgHandle, HandleRelease> handle(rsvg.newFromData(
        reinterpret_cast<const guint8*>(document.data()), document.size(), &error));
    if (!handle) {
        std::string message = error ? error->message : "Not an SVG document";
        if (error) g_error_free(error);
        return Error{ErrorCode::parseFailed, message};
    }
    double width = 0, height = 0;
    if (!rsvg.intrinsicSizeInPixels(handle.get(), &width, &height)) {
        gboolean hasViewBox = FALSE;
        RsvgRectangle viewBox{};
        rsvg.intrinsicDimensions(handle.get(), nullptr, nullptr, nullptr, nullptr, &hasViewBox, &viewBox);
        if (!hasViewBox) return Error{ErrorCode::wrongShape, "The SVG document has no size"};
        width = viewBox.width;
        height = viewBox.height;
    }
    constexpr double largestSide = 4096;
    if (!(width > 0 && height > 0) || width * scale > largestSide || height * scale > largestSide) {
        return Error{ErrorCode::wrongShape, "The SVG document's size is unusable"};
    }
    const int pixelsWide = static_cast<int>(std::ceil(width * scale));
    const int pixelsHigh = static_cast<int>(std::ceil(height * scale));
    std::unique_ptr<cairo_surface_t, SurfaceRelease> surface(
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pixelsWide, pixelsHigh));
    std::unique_ptr<cairo_t, ContextRelease> context(cairo_create(surface.get()));
    const RsvgRectangle viewport{0, 0, static_cast<double>(pixelsWide), static_cast<double>(pixelsHigh)};
    if (!rsvg.renderDocument(handle.get(), context.get(), &viewport, &error)) {
        std::string message = error ? error->message : "The SVG document could not be drawn";
        if (error) g_error_free(error);
        return Error{ErrorCode::parseFailed, message};
    }
    cairo_surface_flush(surface.get());
    Bitmap bitmap(pixelsWide, pixelsHigh, scale);
    const unsigned char* data = cairo_image_surface_get_data(surface.get());
    const int stride = cairo_image_surface_get_stride(surface.get());
    for (int y = 0; y < pixelsHigh; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < pixelsWide; ++x) {
            const std::uint32_t argb = row[x];
            const unsigned alpha = argb >> 24;
            // Cairo keeps colours premultiplied; a bitmap does not.
            auto channel = [alpha](unsigned premultiplied) {
                return static_cast<std::uint8_t>(alpha == 0 ? 0 : std::min(255u, (premultiplied * 255 + alpha / 2) / alpha));
            };
            bitmap.setPixel(x, y, Pixel{channel((argb >> 16) & 0xff), channel((argb >> 8) & 0xff), channel(argb & 0xff),
                                        static_cast<std::uint8_t>(alpha)});
        }
    }
    return Image::fromBitmap(std::move(bitmap));
}

}  // namespace tallowmere::platform
