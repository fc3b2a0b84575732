#include "quicklaunch/website_icon_style.h"

namespace tallowmere {

std::string_view rawValue(WebsiteIconStyle style) {
    switch (style) {
        case WebsiteIconStyle::edge: return "edge";
        case WebsiteIconStyle::chrome: return "chrome";
        case WebsiteIconStyle::firefox: return "firefox";
        case WebsiteIconStyle::globe: return "globe";
    }
    return "globe";
}

std::optional<WebsiteIconStyle> websiteIconStyleFromRawValue(std::string_view text) {
    for (WebsiteIconStyle style : allWebsiteIconStyles) {
        if (rawValue(style) == text) return style;
    }
    return std::nullopt;
}

}  // namespace tallowmere
