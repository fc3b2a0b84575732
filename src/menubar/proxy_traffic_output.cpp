#include "menubar/proxy_traffic_output.h"

#include <charconv>
#include <optional>
#include <string>
#include <vector>

namespace tallowmere {

namespace {

std::vector<std::string_view> split(std::string_view text, char separator, bool keepEmpty) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const auto end = text.find(separator, start);
        const auto part = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (keepEmpty || !part.empty()) parts.push_back(part);
        if (end == std::string_view::npos) return parts;
        start = end + 1;
    }
}

template <typename Number>
std::optional<Number> decimal(std::string_view text) {
    Number value{};
    // from_chars takes a leading minus for signed types only; a plus never.
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace

std::optional<ProxyProcessCounters> parseProxyTrafficOutput(std::string_view text) {
    const auto lines = split(text, '\n', false);
    if (lines.size() < 2) return std::nullopt;
    const auto fields = split(lines[1], ',', true);
    if (fields.size() < 3) return std::nullopt;
    // The process is named "name.pid"; the name may hold dots itself.
    const auto nameParts = split(fields[0], '.', false);
    if (nameParts.empty()) return std::nullopt;
    const auto pid = decimal<std::int32_t>(nameParts.back());
    const auto received = decimal<std::uint64_t>(fields[1]);
    const auto sent = decimal<std::uint64_t>(fields[2]);
    if (!pid || !received || !sent) return std::nullopt;
    return ProxyProcessCounters{*pid, *received, *sent};
}

}  // namespace tallowmere
