#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "platform/gfx/font.h"
#include "platform/gfx/image.h"

namespace tallowmere::platform {

// Size and weight a symbol is drawn at, like the text it stands beside.
struct SymbolConfiguration {
    double pointSize = 13;
    FontWeight weight = FontWeight::regular;
    bool operator==(const SymbolConfiguration&) const = default;
};

// The named system symbols the program uses ("gearshape", "pin.fill" ...),
// each a simple recognisable template drawing of (pointSize + 3) points
// square. An unknown name gives none, as the system does, so callers keep
// their own fallback.
std::optional<Image> symbolImage(std::string_view name, std::string_view accessibilityDescription = {},
                                 SymbolConfiguration configuration = {});
// Every known name, in the table's order.
std::span<const std::string_view> symbolNames();

}  // namespace tallowmere::platform
