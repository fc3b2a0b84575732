#include "platform/gfx/png.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <system_error>

namespace tallowmere::platform {
namespace {

// Large enough for any screen snapshot; small enough that a hostile header
// cannot make us allocate gigabytes.
constexpr png_uint_32 maximumSide = 32767;
constexpr std::size_t maximumPixels = std::size_t{1} << 26;  // 64 Mpx, 256 MB of RGBA

static_assert(sizeof(Pixel) == 4, "Pixel must be tightly packed RGBA8 for libpng");

Error pngError(ErrorCode code, const std::string& what, const png_image& image) {
    std::string message = what;
    if (image.message[0] != '\0') message += ": " + std::string(image.message);
    return Error{code, message};
}

}  // namespace

namespace {

// The full libpng interface, for its compression settings: zlib's fastest
// level with one cheap filter.
Result<Data> encodePngFast(const Bitmap& bitmap) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return Error{ErrorCode::internal, "PNG encoding failed"};
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return Error{ErrorCode::internal, "PNG encoding failed"};
    }
    Data bytes;
    bytes.reserve(bitmap.pixels().size() * 2);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return Error{ErrorCode::internal, "PNG encoding failed"};
    }
    png_set_write_fn(
        png, &bytes,
        [](png_structp writer, png_bytep data, png_size_t length) {
            auto* out = static_cast<Data*>(png_get_io_ptr(writer));
            out->insert(out->end(), data, data + length);
        },
        nullptr);
    png_set_IHDR(png, info, static_cast<png_uint_32>(bitmap.pixelsWide()), static_cast<png_uint_32>(bitmap.pixelsHigh()),
                 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 1);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_write_info(png, info);
    const auto* row = reinterpret_cast<const png_byte*>(bitmap.pixels().data());
    const std::size_t stride = static_cast<std::size_t>(bitmap.pixelsWide()) * sizeof(Pixel);
    for (int y = 0; y < bitmap.pixelsHigh(); ++y, row += stride) png_write_row(png, row);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return bytes;
}

}  // namespace

Result<Data> encodePng(const Bitmap& bitmap, PngCompression compression) {
    if (bitmap.isEmpty()) return Error{ErrorCode::invalidArgument, "PNG needs at least one pixel"};
    if (compression == PngCompression::fast) return encodePngFast(bitmap);
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(bitmap.pixelsWide());
    image.height = static_cast<png_uint_32>(bitmap.pixelsHigh());
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    const void* pixels = bitmap.pixels().data();
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, pixels, 0, nullptr))
        return pngError(ErrorCode::internal, "PNG encoding failed", image);
    Data bytes(size);
    if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, pixels, 0, nullptr))
        return pngError(ErrorCode::internal, "PNG encoding failed", image);
    bytes.resize(size);
    return bytes;
}

Result<Bitmap> decodePng(const Data& bytes, double scale) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (bytes.empty() || !png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
        return pngError(ErrorCode::parseFailed, "Not a PNG image", image);
    if (image.width == 0 || image.height == 0 || image.width > maximumSide || image.height > maximumSide ||
        std::size_t{image.width} * image.height > maximumPixels) {
        png_image_free(&image);
        return Error{ErrorCode::unsupported, "PNG image is too large"};
    }
    image.format = PNG_FORMAT_RGBA;
    Bitmap bitmap(static_cast<int>(image.width), static_cast<int>(image.height), scale);
    if (!png_image_finish_read(&image, nullptr, bitmap.pixels().data(), 0, nullptr)) {
        png_image_free(&image);
        return pngError(ErrorCode::parseFailed, "PNG image is damaged", image);
    }
    return bitmap;
}

Result<Bitmap> readPng(const std::filesystem::path& file, double scale) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::error_code ignored;
        const bool exists = std::filesystem::exists(file, ignored);
        return Error{exists ? ErrorCode::ioFailed : ErrorCode::notFound, "Cannot read " + file.string()};
    }
    Data bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return Error{ErrorCode::ioFailed, "Cannot read " + file.string()};
    return decodePng(bytes, scale);
}

Result<void> writePng(const Bitmap& bitmap, const std::filesystem::path& file, PngCompression compression) {
    auto bytes = encodePng(bitmap, compression);
    if (!bytes) return bytes.error();
    // Written beside the target and renamed over it, so a reader never sees
    // half a file.
    std::filesystem::path temporary = file;
    temporary += ".tmp-png";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes->data()), static_cast<std::streamsize>(bytes->size()));
        out.flush();
        if (!out) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return Error{ErrorCode::ioFailed, "Cannot write " + file.string()};
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, file, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return Error{ErrorCode::ioFailed, "Cannot write " + file.string(), error.value()};
    }
    return {};
}

}  // namespace tallowmere::platform
