#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace tallowmere::platform {

// Which process holds which socket, read from the kernel's process folders
// (/proc in the program, a fixture folder in tests).

// The socket inodes of the kernel's TCP table (/proc/net/tcp or tcp6) that
// listen on `port`; rows that do not parse are left out.
std::vector<std::uint64_t> parseListeningSocketInodes(std::string_view table, int port);

class ProcessSockets {
public:
    explicit ProcessSockets(std::filesystem::path processRoot = "/proc") : root_(std::move(processRoot)) {}

    // Every process id under the root, ascending.
    std::vector<pid_t> processIdentifiers() const;
    // The inodes of the sockets among the process's open files; empty when
    // they cannot be read (another user's process, one that has ended).
    std::set<std::uint64_t> socketInodes(pid_t pid) const;
    // Processes with a TCP socket listening on `port` (IPv4 or IPv6),
    // ascending.
    std::vector<pid_t> listeningProcesses(int port) const;
    // The process's command name; empty when unknown.
    std::string commandName(pid_t pid) const;

private:
    std::filesystem::path root_;
};

}  // namespace tallowmere::platform
