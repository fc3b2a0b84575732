#pragma once

#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "platform/base/uuid.h"

namespace tallowmere {

// One row of the editor's sidebar: the system file, a category or a profile.
class HostsSidebarNode {
public:
    struct System {};
    struct Category {
        platform::Uuid categoryID;
    };
    struct Profile {
        platform::Uuid categoryID;
        platform::Uuid profileID;
    };
    using Kind = std::variant<System, Category, Profile>;

    HostsSidebarNode(std::string key, std::string title, Kind kind,
                     std::vector<std::shared_ptr<HostsSidebarNode>> children = {})
        : key(std::move(key)), title(std::move(title)), kind(kind), children(std::move(children)) {}

    static std::shared_ptr<HostsSidebarNode> makeSystem();
    static std::shared_ptr<HostsSidebarNode> makeCategory(const platform::Uuid& id, std::string title,
                                                          std::vector<std::shared_ptr<HostsSidebarNode>> children);
    static std::shared_ptr<HostsSidebarNode> makeProfile(const platform::Uuid& categoryID,
                                                         const platform::Uuid& profileID, std::string title);

    // "system", "category-<UUID>" or "profile-<UUID>" (upper-case UUIDs).
    std::string key;
    std::string title;
    Kind kind;
    std::vector<std::shared_ptr<HostsSidebarNode>> children;
};

}  // namespace tallowmere
