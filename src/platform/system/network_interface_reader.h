#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallowmere::platform {

// Bytes through one interface since its counters started.
struct NetworkInterfaceCounter {
    std::string name;
    std::uint64_t received = 0;
    std::uint64_t sent = 0;

    bool operator==(const NetworkInterfaceCounter&) const = default;
};

// Every well-formed row of the kernel's interface table (/proc/net/dev), in
// its order; rows that do not parse are left out.
std::vector<NetworkInterfaceCounter> parseInterfaceCounterTable(std::string_view text);

// The interface of the default route with the lowest metric in the kernel's
// routing table (/proc/net/route), if any route is up.
std::optional<std::string> parseDefaultRouteInterface(std::string_view text);

// Reads the live interface counters and the primary interface from the
// kernel. Tests point it at fixture files in place of /proc and /sys.
class NetworkInterfaceReader {
public:
    struct Locations {
        std::string interfaceTable = "/proc/net/dev";
        std::string interfaceFolder = "/sys/class/net";
        std::string routeTable = "/proc/net/route";
    };

    NetworkInterfaceReader() = default;
    explicit NetworkInterfaceReader(Locations locations) : locations_(std::move(locations)) {}

    // Interfaces that are up, not loopback and not bridges, in the kernel's
    // order; empty when the table cannot be read.
    std::vector<NetworkInterfaceCounter> counters() const;
    // The interface the default route leaves by; none without one.
    std::optional<std::string> primaryInterface() const;

private:
    bool isShownInterface(const std::string& name) const;

    Locations locations_;
};

}  // namespace tallowmere::platform
