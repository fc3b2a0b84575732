#pragma once

#include <filesystem>

#include "platform/base/data.h"
#include "platform/base/result.h"
#include "platform/gfx/bitmap.h"

namespace tallowmere::platform {

// PNG in and out. Decoding never trusts the bytes: a truncated or malformed
// file is a parseFailed error, not a crash.
// How hard the encoder squeezes: `small` for pictures kept and shipped,
// `fast` where a person waits for a large image (a screen capture), at about
// a third of the time for a somewhat larger file.
enum class PngCompression { small, fast };

Result<Data> encodePng(const Bitmap& bitmap, PngCompression compression = PngCompression::small);
Result<Bitmap> decodePng(const Data& bytes, double scale = 1);
Result<Bitmap> readPng(const std::filesystem::path& file, double scale = 1);
Result<void> writePng(const Bitmap& bitmap, const std::filesystem::path& file,
                      PngCompression compression = PngCompression::small);

}  // namespace tallowmere::platform
