#pragma once

#include <filesystem>

#include "platform/base/data.h"
#include "platform/base/result.h"
#include "platform/gfx/bitmap.h"

namespace tallowmere::platform {

// PNG in and out. Decoding never trusts the bytes: a truncated or malformed
// file is a parseFailed error, not a crash.
Result<Data> encodePng(const Bitmap& bitmap);
Result<Bitmap> decodePng(const Data& bytes, double scale = 1);
Result<Bitmap> readPng(const std::filesystem::path& file, double scale = 1);
Result<void> writePng(const Bitmap& bitmap, const std::filesystem::path& file);

}  // namespace tallowmere::platform
