#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "webpanel/menu_bar_web_stored_state.h"

namespace tallowmere {

// One link of the start page's groups.
struct MenuBarWebLink {
    std::string name;
    std::string url;
    bool operator==(const MenuBarWebLink&) const = default;
};

// The start page's two groups of links for one interface language.
struct MenuBarWebRecommendations {
    std::string videoTitle;
    std::string searchTitle;
    std::vector<MenuBarWebLink> video;
    std::vector<MenuBarWebLink> search;
};

// What the start page and the search are made of: the shipped data
// (resources/webpanel/start_page.json), or a test's own.
struct MenuBarWebStartPageData {
    std::string domesticSearchEndpoint;
    std::string internationalSearchEndpoint;
    // By the language's case name ("english"); a language without a row
    // of its own uses the fallback language's.
    std::map<std::string, MenuBarWebRecommendations, std::less<>> recommendations;
    std::string fallbackLanguage;

    const MenuBarWebRecommendations& recommendationsFor(std::string_view languageCaseName) const;

    // None unless every part is in place: both endpoints, the fallback's
    // row, and titles, names and addresses as text in every row.
    static std::optional<MenuBarWebStartPageData> decode(std::string_view json);
    static const MenuBarWebStartPageData& shipped();
};

// "&", "<", ">", the double quote and the apostrophe as character references.
std::string htmlEscaped(std::string_view text);

// The start page: the saved sites (only an address that passes the
// validator becomes a link), the add link, and the two groups of links.
// `avatarSource` goes into the avatar's source as it is.
std::string makeStartPageHTML(const std::vector<MenuBarWebSite>& sites, const MenuBarWebRecommendations& links,
                              std::string_view avatarSource);

}  // namespace tallowmere
