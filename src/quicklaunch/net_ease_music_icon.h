#pragma once

#include <optional>

#include "platform/gfx/image.h"

namespace tallowmere {

// The music application's icon from the bundle ("NetEaseMusic.png") at
// `size` × `size` points, in its own colours; none when it cannot be loaded.
std::optional<platform::Image> netEaseMusicIcon(double size);

}  // namespace tallowmere
