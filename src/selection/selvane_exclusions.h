#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tallowmere {

// The applications where the selection bar never opens, by bundle
// identifier, stored under "selvaneExcludedApplications".
//
// For now it answers the input controller; the list's window and its
// application chooser come with the selection feature.
class SelvaneExclusions {
public:
    static constexpr std::string_view key = "selvaneExcludedApplications";

    // True when the identifier is on the list; an absent one never is.
    static bool contains(const std::optional<std::string>& bundleIdentifier);
    // True while the list's application chooser is open; the person's
    // clicks then belong to the chooser.
    static bool isChoosingApplication();
    static void setChoosingApplication(bool choosing);
};

}  // namespace tallowmere
