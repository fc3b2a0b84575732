#include "platform/system/network_commands.h"

#include <charconv>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallowmere::platform {

namespace {

constexpr std::string_view lsofUsage = "usage: lsof -nP -iTCP:<port> -sTCP:LISTEN -t\n";
constexpr std::string_view nettopUsage = "usage: nettop -P -L 1 -J bytes_in,bytes_out -x -n -p <pid>\n";

template <typename Number>
std::optional<Number> decimal(std::string_view text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

int refuse(CommandCall& call, std::string_view usage) {
    call.writeError(usage);
    return 1;
}

std::vector<std::string_view> commaSeparated(std::string_view text) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const auto end = text.find(',', start);
        parts.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) return parts;
        start = end + 1;
    }
}

}  // namespace

int ListOpenFilesCommand::operator()(CommandCall& call) const {
    std::optional<int> port;
    bool listening = false;
    bool terse = false;
    for (const auto& argument : call.arguments()) {
        const std::string_view text = argument;
        if (text == "-n" || text == "-P" || text == "-nP" || text == "-Pn") continue;
        if (text == "-t") {
            terse = true;
        } else if (text == "-sTCP:LISTEN") {
            listening = true;
        } else if (text.starts_with("-iTCP:")) {
            port = decimal<int>(text.substr(6));
            if (!port || *port < 1 || *port > 65535) return refuse(call, lsofUsage);
        } else {
            return refuse(call, lsofUsage);
        }
    }
    // Only the one question the program asks is answered.
    if (!port || !listening || !terse) return refuse(call, lsofUsage);
    const auto pids = sockets_.listeningProcesses(*port);
    for (const pid_t pid : pids) call.writeOutput(std::to_string(pid) + "\n");
    return pids.empty() ? 1 : 0;
}

NetworkTopCommand::NetworkTopCommand(ProcessSockets sockets, SocketBytesReader readSocketBytes)
    : sockets_(std::move(sockets)), readSocketBytes_(std::move(readSocketBytes)) {}

int NetworkTopCommand::operator()(CommandCall& call) {
    const auto& arguments = call.arguments();
    std::optional<pid_t> pid;
    std::vector<std::string_view> columns;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view text = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (text == "-P" || text == "-x" || text == "-n") continue;
        if (text == "-L" && hasValue) {
            // One sample is all this report gives.
            if (arguments[++i] != "1") return refuse(call, nettopUsage);
        } else if (text == "-J" && hasValue) {
            columns = commaSeparated(arguments[++i]);
            for (const auto column : columns) {
                if (column != "bytes_in" && column != "bytes_out") return refuse(call, nettopUsage);
            }
        } else if (text == "-p" && hasValue) {
            pid = decimal<pid_t>(arguments[++i]);
            if (!pid || *pid < 1) return refuse(call, nettopUsage);
        } else {
            return refuse(call, nettopUsage);
        }
    }
    if (!pid || columns.empty()) return refuse(call, nettopUsage);

    std::string header;
    for (const auto column : columns) header += "," + std::string(column);
    call.writeOutput(header + ",\n");
    const std::string name = sockets_.commandName(*pid);
    if (name.empty()) return 0;
    const TcpSocketBytes bytes = totals(*pid);
    std::string row = name + "." + std::to_string(*pid);
    for (const auto column : columns) {
        row += "," + std::to_string(column == "bytes_in" ? bytes.received : bytes.acknowledged);
    }
    call.writeOutput(row + ",\n");
    return 0;
}

TcpSocketBytes NetworkTopCommand::totals(pid_t pid) {
    const auto inodes = sockets_.socketInodes(pid);
    const auto all = readSocketBytes_();
    std::lock_guard lock(mutex_);
    auto& process = processes_[pid];
    std::map<std::uint64_t, TcpSocketBytes> open;
    for (const auto inode : inodes) {
        if (const auto found = all.find(inode); found != all.end()) open[inode] = found->second;
    }
    // A connection that closed keeps what it last moved.
    for (const auto& [inode, bytes] : process.open) {
        if (open.contains(inode)) continue;
        process.closed.received += bytes.received;
        process.closed.acknowledged += bytes.acknowledged;
    }
    process.open = std::move(open);
    TcpSocketBytes sum = process.closed;
    for (const auto& [inode, bytes] : process.open) {
        sum.received += bytes.received;
        sum.acknowledged += bytes.acknowledged;
    }
    return sum;
}

}  // namespace tallowmere::platform
