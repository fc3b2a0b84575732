#include "webpanel/menu_bar_web_start_page.h"

#include <nlohmann/json.hpp>

#include "webpanel/menu_bar_web_address.h"

namespace tallowmere {

namespace resources {
extern const std::string_view webStartPageJSON;
extern const std::string_view webStartPageStyle;
}  // namespace resources

namespace {

std::optional<std::vector<MenuBarWebLink>> linksFrom(const nlohmann::json& array) {
    if (!array.is_array()) return std::nullopt;
    std::vector<MenuBarWebLink> links;
    for (const auto& link : array) {
        if (!link.is_object() || !link.contains("name") || !link.contains("url") || !link["name"].is_string() ||
            !link["url"].is_string()) {
            return std::nullopt;
        }
        links.push_back({link["name"].get<std::string>(), link["url"].get<std::string>()});
    }
    return links;
}

std::optional<std::string> textOf(const nlohmann::json& object, const char* key) {
    if (!object.is_object() || !object.contains(key) || !object[key].is_string()) return std::nullopt;
    return object[key].get<std::string>();
}

void appendSectionTitle(std::string& html, std::string_view title, std::string_view count = {}) {
    html += "<div class=\"section-title\"><span>";
    html += title;
    html += "</span>";
    if (!count.empty()) {
        html += "<span class=\"count\">";
        html += count;
        html += "</span>";
    }
    html += "</div>";
}

void appendEngines(std::string& html, std::string_view title, const std::vector<MenuBarWebLink>& links) {
    appendSectionTitle(html, title);
    html += "<section class=\"search\"><div class=\"engines\">";
    for (std::size_t index = 0; index < links.size(); ++index) {
        if (index > 0) html += '\n';
        html += "<a class=\"engine\" href=\"" + htmlEscaped(links[index].url) + "\">" + htmlEscaped(links[index].name) +
                "</a>";
    }
    html += "</div></section>";
}

}  // namespace

const MenuBarWebRecommendations& MenuBarWebStartPageData::recommendationsFor(std::string_view languageCaseName) const {
    if (auto found = recommendations.find(languageCaseName); found != recommendations.end()) return found->second;
    return recommendations.find(fallbackLanguage)->second;
}

std::optional<MenuBarWebStartPageData> MenuBarWebStartPageData::decode(std::string_view json) {
    const auto root = nlohmann::json::parse(json, nullptr, false);
    if (!root.is_object() || !root.contains("searchEndpoints") || !root.contains("recommendations")) return std::nullopt;
    MenuBarWebStartPageData data;
    const auto domestic = textOf(root["searchEndpoints"], "domestic");
    const auto international = textOf(root["searchEndpoints"], "international");
    const auto fallback = textOf(root, "fallbackLanguage");
    if (!domestic || !international || !fallback || !root["recommendations"].is_object()) return std::nullopt;
    data.domesticSearchEndpoint = *domestic;
    data.internationalSearchEndpoint = *international;
    data.fallbackLanguage = *fallback;
    for (const auto& [language, row] : root["recommendations"].items()) {
        const auto videoTitle = textOf(row, "videoTitle");
        const auto searchTitle = textOf(row, "searchTitle");
        if (!videoTitle || !searchTitle || !row.contains("video") || !row.contains("search")) return std::nullopt;
        auto video = linksFrom(row["video"]);
        auto search = linksFrom(row["search"]);
        if (!video || !search) return std::nullopt;
        data.recommendations[language] = {*videoTitle, *searchTitle, std::move(*video), std::move(*search)};
    }
    if (!data.recommendations.contains(data.fallbackLanguage)) return std::nullopt;
    return data;
}

const MenuBarWebStartPageData& MenuBarWebStartPageData::shipped() {
    // Shipped with the program and checked by its tests: it always decodes.
    static const MenuBarWebStartPageData data = *decode(resources::webStartPageJSON);
    return data;
}

std::string htmlEscaped(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        case '\'': escaped += "&#39;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

std::string makeStartPageHTML(const std::vector<MenuBarWebSite>& sites, const MenuBarWebRecommendations& links,
                              std::string_view avatarSource) {
    std::string html;
    html.reserve(4096 + resources::webStartPageStyle.size() + avatarSource.size() + sites.size() * 160);
    html += "<!doctype html><html lang=\"zh-CN\"><head><meta charset=\"utf-8\">"
            "<meta name=\"viewport\" content=\"width=device-width,initial-scale=1,maximum-scale=5\"><style>";
    html += resources::webStartPageStyle;
    html += "</style></head><body><header><img class=\"avatar\" src=\"";
    html += avatarSource;
    html += "\" alt=\"塔洛梅\"><h1>塔洛梅网页盒子</h1></header>";
    appendSectionTitle(html, "我的网页", std::to_string(sites.size()));
    html += "<main class=\"sites\">";
    if (sites.empty()) html += "<span class=\"empty\">还没有添加网页</span>";
    for (std::size_t index = 0; index < sites.size(); ++index) {
        if (index > 0) html += '\n';
        const auto& site = sites[index];
        const std::string title = "<span class=\"site-title\">" + htmlEscaped(site.name) + "</span>";
        // A stored address that is no web address (a script, a file) is
        // shown, never followed.
        if (const auto url = normalizedURL(site.url)) {
            html += "<a class=\"site\" href=\"" + htmlEscaped(url->string()) + "\">" + title + "</a>";
        } else {
            html += "<span class=\"site\">" + title + "</span>";
        }
    }
    html += "\n<a class=\"site add-site\" href=\"tallowmere://add-web\" aria-label=\"添加网页\">＋</a></main>";
    appendEngines(html, links.videoTitle, links.video);
    appendEngines(html, links.searchTitle, links.search);
    html += "</body></html>";
    return html;
}

}  // namespace tallowmere
