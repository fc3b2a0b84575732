#include "webpanel/menu_bar_web_stored_state.h"

#include <charconv>
#include <cmath>

#include <nlohmann/json.hpp>

namespace tallowmere::MenuBarWebStoredState {

std::optional<std::vector<MenuBarWebSite>> decodeSites(std::string_view json) {
    const auto array = nlohmann::json::parse(json, nullptr, false);
    if (!array.is_array()) return std::nullopt;
    std::vector<MenuBarWebSite> sites;
    for (const auto& record : array) {
        if (!record.is_object()) return std::nullopt;
        const auto id = record.find("id");
        const auto name = record.find("name");
        const auto url = record.find("url");
        if (id == record.end() || name == record.end() || url == record.end() || !id->is_string() ||
            !name->is_string() || !url->is_string()) {
            return std::nullopt;
        }
        auto uuid = platform::Uuid::fromString(id->get<std::string>());
        if (!uuid) return std::nullopt;
        sites.push_back({*uuid, name->get<std::string>(), url->get<std::string>()});
    }
    return sites;
}

std::string encodeSites(const std::vector<MenuBarWebSite>& sites) {
    // The keys in their declared order, as the stored form has them.
    auto array = nlohmann::ordered_json::array();
    for (const auto& site : sites) {
        nlohmann::ordered_json record;
        record["id"] = site.id.uuidString();
        record["name"] = site.name;
        record["url"] = site.url;
        array.push_back(std::move(record));
    }
    return array.dump();
}

namespace {

std::string number(double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general);
    return std::string(buffer, result.ptr);
}

bool readNumber(std::string_view& text, double& value) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || !std::isfinite(value)) return false;
    text.remove_prefix(static_cast<std::size_t>(result.ptr - text.data()));
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    return true;
}

}  // namespace

std::string stringFromSize(platform::Size size) {
    return "{" + number(size.width) + ", " + number(size.height) + "}";
}

std::optional<platform::Size> sizeFromString(std::string_view text) {
    if (text.size() < 2 || text.front() != '{' || text.back() != '}') return std::nullopt;
    text = text.substr(1, text.size() - 2);
    double width = 0;
    double height = 0;
    if (!readNumber(text, width) || text.empty() || text.front() != ',') return std::nullopt;
    text.remove_prefix(1);
    if (!readNumber(text, height) || !text.empty()) return std::nullopt;
    return platform::Size{width, height};
}

platform::Size panelSize(const std::optional<std::string>& stored) {
    if (stored) {
        if (auto size = sizeFromString(*stored); size && size->width > 1 && size->height > 1) return *size;
    }
    return {290, 400};
}

}  // namespace tallowmere::MenuBarWebStoredState
