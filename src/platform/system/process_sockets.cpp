#include "platform/system/process_sockets.h"

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <optional>
#include <fstream>
#include <sstream>

#include "platform/base/text.h"

namespace tallowmere::platform {

namespace {

// The kernel's TCP state of a listening socket.
constexpr std::string_view listenState = "0A";

template <typename Number>
std::optional<Number> number(std::string_view text, int base = 10) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::vector<std::string_view> columns(std::string_view line) {
    std::vector<std::string_view> result;
    std::size_t index = 0;
    while (index < line.size()) {
        while (index < line.size() && (line[index] == ' ' || line[index] == '\t')) ++index;
        const std::size_t start = index;
        while (index < line.size() && line[index] != ' ' && line[index] != '\t') ++index;
        if (index > start) result.push_back(line.substr(start, index - start));
    }
    return result;
}

std::string readText(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    std::ostringstream text;
    text << stream.rdbuf();
    return text.str();
}

// "socket:[12345]" as a link target.
std::optional<std::uint64_t> socketInode(std::string_view target) {
    constexpr std::string_view prefix = "socket:[";
    if (!target.starts_with(prefix) || !target.ends_with(']')) return std::nullopt;
    return number<std::uint64_t>(target.substr(prefix.size(), target.size() - prefix.size() - 1));
}

}  // namespace

std::vector<std::uint64_t> parseListeningSocketInodes(std::string_view table, int port) {
    std::vector<std::uint64_t> inodes;
    const auto rows = Text::lines(table);
    for (std::size_t row = 1; row < rows.size(); ++row) {  // row 0 is the header
        // sl local_address rem_address st tx_queue:rx_queue tr:tm->when retrnsmt uid timeout inode ...
        const auto fields = columns(rows[row]);
        if (fields.size() < 10 || fields[3] != listenState) continue;
        const auto colon = fields[1].rfind(':');
        if (colon == std::string_view::npos) continue;
        const auto localPort = number<unsigned>(fields[1].substr(colon + 1), 16);
        const auto inode = number<std::uint64_t>(fields[9]);
        if (!localPort || !inode || static_cast<int>(*localPort) != port) continue;
        inodes.push_back(*inode);
    }
    return inodes;
}

std::vector<pid_t> ProcessSockets::processIdentifiers() const {
    std::vector<pid_t> pids;
    DIR* folder = ::opendir(root_.c_str());
    if (!folder) return pids;
    while (const dirent* entry = ::readdir(folder)) {
        if (const auto pid = number<pid_t>(entry->d_name); pid && *pid > 0) pids.push_back(*pid);
    }
    ::closedir(folder);
    std::sort(pids.begin(), pids.end());
    return pids;
}

std::set<std::uint64_t> ProcessSockets::socketInodes(pid_t pid) const {
    std::set<std::uint64_t> inodes;
    const auto fdFolder = root_ / std::to_string(pid) / "fd";
    DIR* folder = ::opendir(fdFolder.c_str());
    if (!folder) return inodes;
    char target[128];
    while (const dirent* entry = ::readdir(folder)) {
        if (entry->d_name[0] == '.') continue;
        const auto link = fdFolder / entry->d_name;
        const ssize_t length = ::readlink(link.c_str(), target, sizeof target);
        if (length <= 0 || static_cast<std::size_t>(length) >= sizeof target) continue;
        if (const auto inode = socketInode(std::string_view(target, static_cast<std::size_t>(length)))) {
            inodes.insert(*inode);
        }
    }
    ::closedir(folder);
    return inodes;
}

std::vector<pid_t> ProcessSockets::listeningProcesses(int port) const {
    std::set<std::uint64_t> listening;
    for (const char* table : {"net/tcp", "net/tcp6"}) {
        for (const auto inode : parseListeningSocketInodes(readText(root_ / table), port)) listening.insert(inode);
    }
    std::vector<pid_t> pids;
    if (listening.empty()) return pids;
    for (const pid_t pid : processIdentifiers()) {
        const auto inodes = socketInodes(pid);
        if (std::any_of(inodes.begin(), inodes.end(), [&](std::uint64_t inode) { return listening.contains(inode); })) {
            pids.push_back(pid);
        }
    }
    return pids;
}

std::string ProcessSockets::commandName(pid_t pid) const {
    return Text::trimmingWhitespaceAndNewlines(readText(root_ / std::to_string(pid) / "comm"));
}

}  // namespace tallowmere::platform
