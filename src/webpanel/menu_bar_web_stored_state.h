#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/uuid.h"
#include "platform/gfx/geometry.h"

namespace tallowmere {

// A saved website of the web panel.
struct MenuBarWebSite {
    platform::Uuid id;
    std::string name;
    // An absolute address as `normalizedURL` gives it.
    std::string url;
    bool operator==(const MenuBarWebSite&) const = default;
};

// The stored forms the web panel reads back at start.
namespace MenuBarWebStoredState {

// The JSON array of sites (keys "id", "name", "url", all required); none
// when the text is not such an array.
std::optional<std::vector<MenuBarWebSite>> decodeSites(std::string_view json);
std::string encodeSites(const std::vector<MenuBarWebSite>& sites);

// A size as the platform writes one, "{290, 400}".
std::string stringFromSize(platform::Size size);
// The size such a text holds: two finite numbers in braces, separated by a
// comma; none for anything else.
std::optional<platform::Size> sizeFromString(std::string_view text);
// The panel's size from the stored text: 290 × 400 unless the text holds a
// size larger than 1 × 1.
platform::Size panelSize(const std::optional<std::string>& stored);

}  // namespace MenuBarWebStoredState

}  // namespace tallowmere
