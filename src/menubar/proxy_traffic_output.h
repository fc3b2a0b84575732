#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tallowmere {

// One process's byte counters, as the per-process traffic report gives them.
struct ProxyProcessCounters {
    std::int32_t pid = 0;
    std::uint64_t received = 0;
    std::uint64_t sent = 0;

    bool operator==(const ProxyProcessCounters&) const = default;
};

// The report's first data row: a header line, then "name.pid,bytes_in,
// bytes_out,...". None for anything else (fewer lines or fields, a pid
// that is not a 32-bit number, counters that are not decimal numbers).
std::optional<ProxyProcessCounters> parseProxyTrafficOutput(std::string_view text);

}  // namespace tallowmere
