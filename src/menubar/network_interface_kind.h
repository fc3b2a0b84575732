#pragma once

#include <string_view>

namespace tallowmere {

// What the traffic display makes of an interface, by its name.
enum class NetworkInterfaceKind {
    // Left out entirely: it repeats traffic counted elsewhere.
    skipped,
    physical,
    vpn,
    other,
};

NetworkInterfaceKind networkInterfaceKind(std::string_view name);

}  // namespace tallowmere
