#pragma once

#include <string>

#include "platform/gfx/image.h"

namespace tallowmere::platform {

// The generic icons the workspace gives items that bring none of their own:
// a folder, an application, or a page labelled with the file's extension.
namespace FileIconPainter {

enum class Kind { folder, application, document };

Kind kindOf(const std::string& path);
// A 64 × 64 pt icon, the same picture for the same kind and extension.
Image icon(Kind kind, const std::string& extension);

}  // namespace FileIconPainter

}  // namespace tallowmere::platform
