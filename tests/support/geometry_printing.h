#pragma once

#include <ostream>

#include "platform/gfx/geometry.h"

namespace tallowmere::platform {

// Readable geometry in failure messages.
template <class Space>
void PrintTo(const BasicPoint<Space>& p, std::ostream* out) {
    *out << "(" << p.x << ", " << p.y << ")";
}
template <class Space>
void PrintTo(const BasicRect<Space>& r, std::ostream* out) {
    *out << "(" << r.origin.x << ", " << r.origin.y << ", " << r.size.width << " x " << r.size.height << ")";
}
inline void PrintTo(const Size& s, std::ostream* out) { *out << s.width << " x " << s.height; }

}  // namespace tallowmere::platform
