#include "hosts/hosts_sidebar_node.h"

namespace tallowmere {

std::shared_ptr<HostsSidebarNode> HostsSidebarNode::makeSystem() {
    return std::make_shared<HostsSidebarNode>("system", "当前系统 Hosts", System{});
}

std::shared_ptr<HostsSidebarNode> HostsSidebarNode::makeCategory(
    const platform::Uuid& id, std::string title, std::vector<std::shared_ptr<HostsSidebarNode>> children) {
    return std::make_shared<HostsSidebarNode>("category-" + id.uuidString(), std::move(title), Category{id},
                                              std::move(children));
}

std::shared_ptr<HostsSidebarNode> HostsSidebarNode::makeProfile(const platform::Uuid& categoryID,
                                                                const platform::Uuid& profileID,
                                                                std::string title) {
    return std::make_shared<HostsSidebarNode>("profile-" + profileID.uuidString(), std::move(title),
                                              Profile{categoryID, profileID});
}

}  // namespace tallowmere
