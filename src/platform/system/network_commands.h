#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>

#include "platform/system/command_call.h"
#include "platform/system/process_sockets.h"
#include "platform/system/tcp_socket_counters.h"

namespace tallowmere::platform {

// lsof -nP -iTCP:<port> -sTCP:LISTEN -t
// The ids of the processes listening on that TCP port, one a line; status 1
// when there are none. The flags may come in any order ("-n -P" or "-nP");
// any other form is refused with the usage and status 1.
class ListOpenFilesCommand {
public:
    explicit ListOpenFilesCommand(ProcessSockets sockets = ProcessSockets()) : sockets_(std::move(sockets)) {}
    int operator()(CommandCall& call) const;

private:
    ProcessSockets sockets_;
};

// nettop -P -L 1 -J bytes_in,bytes_out -x -n -p <pid>
// One report of the process's TCP traffic as comma-separated text: the
// header ",bytes_in,bytes_out," then "<name>.<pid>,<in>,<out>," (the
// columns in the order -J names them). Bytes are those received and those
// acknowledged on the process's connections; what a closed connection
// moved stays counted, so the totals never go back while the process runs.
// A process that does not run gives the header alone.
class NetworkTopCommand {
public:
    using SocketBytesReader = std::function<std::map<std::uint64_t, TcpSocketBytes>()>;

    explicit NetworkTopCommand(ProcessSockets sockets = ProcessSockets(),
                               SocketBytesReader readSocketBytes = readTcpSocketBytes);
    // Stand-ins run on any queue: the totals are guarded.
    int operator()(CommandCall& call);

    // A process's totals, its closed connections included.
    TcpSocketBytes totals(pid_t pid);

private:
    struct ProcessTotals {
        TcpSocketBytes closed;  // connections that have gone
        std::map<std::uint64_t, TcpSocketBytes> open;
    };

    ProcessSockets sockets_;
    SocketBytesReader readSocketBytes_;
    std::mutex mutex_;
    std::map<pid_t, ProcessTotals> processes_;
};

}  // namespace tallowmere::platform
