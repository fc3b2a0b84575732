#pragma once

#include <ostream>

#include "platform/gfx/geometry.h"

namespace tallowmere::platform {
// Rectangles and points in failure messages as numbers, not bytes.
template <class Space>
void PrintTo(const BasicRect<Space>& r, std::ostream* out) {
    *out << "(" << r.origin.x << ", " << r.origin.y << ", " << r.size.width << " x " << r.size.height << ")";
}
template <class Space>
void PrintTo(const BasicPoint<Space>& p, std::ostream* out) {
    *out << "(" << p.x << ", " << p.y << ")";
}
}  // namespace tallowmere::platform
