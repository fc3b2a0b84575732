#include "menubar/network_interface_kind.h"

#include <array>

namespace tallowmere {
namespace {

struct NamePrefix {
    std::string_view prefix;
    NetworkInterfaceKind kind;
};

// Names match by case-sensitive prefix. Virtual Ethernet pairs carry container
// traffic that also crosses the physical interface; the Wi-Fi peer links are
// the same.
constexpr std::array kNamePrefixes{
    NamePrefix{"veth", NetworkInterfaceKind::skipped},  NamePrefix{"awdl", NetworkInterfaceKind::skipped},
    NamePrefix{"llw", NetworkInterfaceKind::skipped},   NamePrefix{"en", NetworkInterfaceKind::physical},
    NamePrefix{"eth", NetworkInterfaceKind::physical},  NamePrefix{"wl", NetworkInterfaceKind::physical},
    NamePrefix{"ww", NetworkInterfaceKind::physical},   NamePrefix{"utun", NetworkInterfaceKind::vpn},
    NamePrefix{"tun", NetworkInterfaceKind::vpn},       NamePrefix{"tap", NetworkInterfaceKind::vpn},
    NamePrefix{"wg", NetworkInterfaceKind::vpn},        NamePrefix{"ppp", NetworkInterfaceKind::vpn},
    NamePrefix{"ipsec", NetworkInterfaceKind::vpn},     NamePrefix{"vti", NetworkInterfaceKind::vpn},
};

}  // namespace

NetworkInterfaceKind networkInterfaceKind(std::string_view name) {
    for (const auto& entry : kNamePrefixes) {
        if (name.starts_with(entry.prefix)) return entry.kind;
    }
    return NetworkInterfaceKind::other;
}

}  // namespace tallowmere
