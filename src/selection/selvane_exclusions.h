#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallowmere {

// The applications where the selection bar never opens, stored under
// "selvaneExcludedApplications" as a dictionary from bundle identifier to
// display name. Every read goes to the user defaults, so a change made
// anywhere shows at once; every add and remove posts `changed`.
class SelvaneExclusions {
public:
    static constexpr std::string_view key = "selvaneExcludedApplications";
    static constexpr std::string_view changed = "SelvaneExclusionsChanged";

    struct Entry {
        std::string id;
        std::string name;
        bool operator==(const Entry&) const = default;
    };

    // The list sorted by name as file lists sort ("App 2" before "App 10").
    static std::vector<Entry> entries();
    // True when the identifier is on the list, compared exactly; an absent one never is.
    static bool contains(const std::optional<std::string>& bundleIdentifier);
    // Adds the application or renames it when listed.
    static void add(const std::string& id, const std::string& name);
    // Removes the application; an identifier not listed changes nothing.
    static void remove(const std::string& id);

    // True while the list's application chooser is open; no bar shows then.
    static bool isChoosingApplication();
    static void setChoosingApplication(bool choosing);
};

}  // namespace tallowmere
