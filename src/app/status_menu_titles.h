#pragma once

#include <string_view>

#include "localization/interface_language.h"

namespace tallowmere {

// Status-menu titles written once per interface language rather than looked
// up: each language names these switches in its own words.
struct StatusMenuTitles {
    std::string_view networkTraffic;
    std::string_view proxyTraffic;
    std::string_view alwaysAwake;
    // Shown without its ellipsis, as every status-menu title is.
    std::string_view customShutdown;

    static const StatusMenuTitles& forLanguage(InterfaceLanguage language);
    static const StatusMenuTitles& current() { return forLanguage(InterfaceLanguage::current()); }
};

}  // namespace tallowmere
