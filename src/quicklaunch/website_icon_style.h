#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace tallowmere {

// Which standard picture a website tile shows when it has no emoji.
enum class WebsiteIconStyle { edge, chrome, firefox, globe };
inline constexpr std::array allWebsiteIconStyles = {WebsiteIconStyle::edge, WebsiteIconStyle::chrome,
                                                    WebsiteIconStyle::firefox, WebsiteIconStyle::globe};

std::string_view rawValue(WebsiteIconStyle style);
// Exact, case-sensitive match.
std::optional<WebsiteIconStyle> websiteIconStyleFromRawValue(std::string_view rawValue);

}  // namespace tallowmere
