#include "platform/gfx/svg_image.h"

#include <cairo.h>
#include <dlfcn.h>
#include <librsvg/rsvg.h>

#include <cctype>
#include <charconv>
#include <cmath>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

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

constexpr double largestSide = 4096;

// The value of `name` in the root element's opening tag when it is a plain
// positive number of user units ("64", "64.5", "64px"); none otherwise.
std::optional<double> rootLength(std::string_view document, std::string_view name) {
    const auto open = document.find("<svg");
    if (open == std::string_view::npos) return std::nullopt;
    const auto close = document.find('>', open);
    if (close == std::string_view::npos) return std::nullopt;
    std::string_view tag = document.substr(open + 4, close - open - 4);
    const std::string pattern = std::string(name) + "=\"";
    for (auto at = tag.find(pattern); at != std::string_view::npos; at = tag.find(pattern, at + 1)) {
        if (at == 0 || !std::isspace(static_cast<unsigned char>(tag[at - 1]))) continue;  // "stroke-width" is not "width"
        std::string_view value = tag.substr(at + pattern.size());
        value = value.substr(0, value.find('"'));
        if (value.ends_with("px")) value.remove_suffix(2);
        double number = 0;
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
        if (error != std::errc() || end != value.data() + value.size() || !(number > 0) || !std::isfinite(number))
            return std::nullopt;
        return number;
    }
    return std::nullopt;
}

}  // namespace

Result<Image> imageFromSvgOnDemand(std::string_view document, double scale) {
    const auto width = rootLength(document, "width");
    const auto height = rootLength(document, "height");
    if (!width || !height || !(scale > 0 && std::isfinite(scale)) || *width * scale > largestSide ||
        *height * scale > largestSide) {
        return imageFromSvg(document, scale);
    }
    const int pixelsWide = static_cast<int>(std::ceil(*width * scale));
    const int pixelsHigh = static_cast<int>(std::ceil(*height * scale));
    return Image::madeOnDemand(pixelsWide, pixelsHigh, scale,
                               [text = std::string(document), scale]() -> Result<Bitmap> {
                                   auto image = imageFromSvg(text, scale);
                                   if (!image) return image.error();
                                   if (const Bitmap* bitmap = image->bitmap()) return *bitmap;
                                   return Error{ErrorCode::internal, "The SVG document gave no pixels"};
                               });
}

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
