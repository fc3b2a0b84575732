#include "platform/desktop/sharing_service.h"

#include <algorithm>

#include "platform/desktop/desktop.h"

namespace tallowmere::platform {

std::shared_ptr<SharingService> SharingService::named(const std::string& name) {
    auto& services = Desktop::shared().sharingServices();
    if (!services.isAvailable(name)) return nullptr;
    return std::make_shared<SharingService>(services, name);
}

void SharingService::perform(std::vector<std::string> items) {
    if (items.empty()) return;
    services_.record({name_, std::move(items)});
}

void SharingServices::setAvailable(const std::string& name, bool available) {
    std::lock_guard lock(mutex_);
    std::erase(unavailable_, name);
    if (!available) unavailable_.push_back(name);
}

bool SharingServices::isAvailable(const std::string& name) const {
    std::lock_guard lock(mutex_);
    if (name != SharingService::sendViaAirDrop) return false;
    return std::find(unavailable_.begin(), unavailable_.end(), name) == unavailable_.end();
}

void SharingServices::record(Performed performed) {
    std::lock_guard lock(mutex_);
    performed_.push_back(std::move(performed));
}

std::vector<SharingServices::Performed> SharingServices::performed() const {
    std::lock_guard lock(mutex_);
    return performed_;
}

}  // namespace tallowmere::platform
