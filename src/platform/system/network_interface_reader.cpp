#include "platform/system/network_interface_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <limits>

#include "platform/base/text.h"

namespace tallowmere::platform {
namespace {

// The kernel's interface flags.
constexpr unsigned long kInterfaceUp = 0x1;
constexpr unsigned long kInterfaceLoopback = 0x8;
// Route flag: the route is usable.
constexpr unsigned long kRouteUp = 0x1;

// Small kernel files are read whole with plain calls: the traffic refresh
// reads several of them every second.
std::optional<std::string> readSmallFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (count == 0) break;
        text.append(buffer, static_cast<std::size_t>(count));
        // Far beyond any real table; stops a runaway file.
        if (text.size() > (1u << 22)) break;
    }
    ::close(fd);
    return text;
}

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> fields(std::string_view line) {
    std::vector<std::string_view> result;
    std::size_t index = 0;
    while (index < line.size()) {
        while (index < line.size() && isSpace(line[index])) ++index;
        const std::size_t start = index;
        while (index < line.size() && !isSpace(line[index])) ++index;
        if (index > start) result.push_back(line.substr(start, index - start));
    }
    return result;
}

template <typename Number>
std::optional<Number> parseNumber(std::string_view text, int base = 10) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

// A name from the kernel's table becomes one path component under /sys.
bool isSafeInterfaceName(std::string_view name) {
    return !name.empty() && name.size() < 64 && name != "." && name != ".." &&
           name.find('/') == std::string_view::npos && name.find('\0') == std::string_view::npos;
}

}  // namespace

std::vector<NetworkInterfaceCounter> parseInterfaceCounterTable(std::string_view text) {
    std::vector<NetworkInterfaceCounter> counters;
    for (const std::string_view line : Text::lines(text)) {
        const auto colon = line.find(':');
        if (colon == std::string_view::npos) continue;  // the two header lines
        const std::string_view name = trimmed(line.substr(0, colon));
        const auto numbers = fields(line.substr(colon + 1));
        // Eight receive columns, then the transmit columns.
        if (!isSafeInterfaceName(name) || numbers.size() < 9) continue;
        const auto received = parseNumber<std::uint64_t>(numbers[0]);
        const auto sent = parseNumber<std::uint64_t>(numbers[8]);
        if (!received || !sent) continue;
        counters.push_back({std::string(name), *received, *sent});
    }
    return counters;
}

std::optional<std::string> parseDefaultRouteInterface(std::string_view text) {
    std::optional<std::string> best;
    auto bestMetric = std::numeric_limits<std::uint64_t>::max();
    const auto rows = Text::lines(text);
    for (std::size_t row = 1; row < rows.size(); ++row) {  // row 0 is the header
        // Iface Destination Gateway Flags RefCnt Use Metric Mask ...
        const auto columns = fields(rows[row]);
        if (columns.size() < 8 || !isSafeInterfaceName(columns[0])) continue;
        const auto destination = parseNumber<std::uint32_t>(columns[1], 16);
        const auto flags = parseNumber<unsigned long>(columns[3], 16);
        const auto metric = parseNumber<std::uint64_t>(columns[6]);
        const auto mask = parseNumber<std::uint32_t>(columns[7], 16);
        if (!destination || !flags || !metric || !mask) continue;
        if (*destination != 0 || *mask != 0 || !(*flags & kRouteUp)) continue;
        // Several default routes: the kernel takes the lowest metric.
        if (!best || *metric < bestMetric) {
            best = std::string(columns[0]);
            bestMetric = *metric;
        }
    }
    return best;
}

std::vector<NetworkInterfaceCounter> NetworkInterfaceReader::counters() const {
    const auto table = readSmallFile(locations_.interfaceTable);
    if (!table) return {};
    auto counters = parseInterfaceCounterTable(*table);
    std::erase_if(counters, [this](const NetworkInterfaceCounter& counter) { return !isShownInterface(counter.name); });
    return counters;
}

std::optional<std::string> NetworkInterfaceReader::primaryInterface() const {
    const auto table = readSmallFile(locations_.routeTable);
    if (!table) return std::nullopt;
    return parseDefaultRouteInterface(*table);
}

bool NetworkInterfaceReader::isShownInterface(const std::string& name) const {
    const std::string folder = locations_.interfaceFolder + "/" + name;
    const auto flagsText = readSmallFile(folder + "/flags");
    if (!flagsText) return false;
    std::string_view text = trimmed(*flagsText);
    if (text.ends_with('\n')) text.remove_suffix(1);
    if (text.starts_with("0x")) text.remove_prefix(2);
    const auto flags = parseNumber<unsigned long>(text, 16);
    if (!flags || !(*flags & kInterfaceUp) || (*flags & kInterfaceLoopback)) return false;
    // A bridge carries its members' traffic again.
    struct stat info {};
    return ::stat((folder + "/bridge").c_str(), &info) != 0;
}

}  // namespace tallowmere::platform
