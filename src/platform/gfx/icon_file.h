#pragma once

#include <cstdint>
#include <span>

#include "platform/base/result.h"

namespace tallowmere::platform {

// The bytes of the first picture of an icon (.ico) file when that picture is
// a PNG, as modern icon files store their large images. Pictures stored as
// device-independent bitmaps are not read (`unsupported`); anything that is
// not an icon file, or whose directory points outside the file, fails
// (`parseFailed`).
Result<std::span<const std::uint8_t>> pngInIconFile(std::span<const std::uint8_t> bytes);

}  // namespace tallowmere::platform
