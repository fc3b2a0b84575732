#pragma once

#include <cstdint>
#include <map>

namespace tallowmere::platform {

// Bytes through one TCP connection so far, as the kernel counts them.
struct TcpSocketBytes {
    std::uint64_t received = 0;  // delivered to the application
    std::uint64_t acknowledged = 0;  // sent and acknowledged by the peer

    bool operator==(const TcpSocketBytes&) const = default;
};

// Every TCP socket of this machine (IPv4 and IPv6) by its inode, from the
// kernel's socket diagnostics (netlink); empty when they cannot be read.
std::map<std::uint64_t, TcpSocketBytes> readTcpSocketBytes();

}  // namespace tallowmere::platform
