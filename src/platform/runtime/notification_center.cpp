#include "platform/runtime/notification_center.h"

#include <algorithm>
#include <memory>

namespace tallowmere::platform {

ObserverToken NotificationCenter::addObserver(std::string name, const void* object, Handler handler) {
    std::lock_guard lock(mutex_);
    const auto id = nextId_++;
    observers_.push_back(
        Observer{id, std::move(name), object, std::make_shared<Handler>(std::move(handler))});
    return ObserverToken(id);
}

void NotificationCenter::removeObserver(const ObserverToken& token) {
    std::lock_guard lock(mutex_);
    std::erase_if(observers_, [&](const Observer& o) { return o.id == token.id_; });
}

void NotificationCenter::post(std::string name, const void* object, UserInfo userInfo) {
    post(Notification{std::move(name), object, std::move(userInfo)});
}

void NotificationCenter::post(const Notification& notification) {
    std::vector<std::pair<std::uint64_t, std::shared_ptr<Handler>>> matching;
    {
        std::lock_guard lock(mutex_);
        for (const auto& o : observers_) {
            if (!o.name.empty() && o.name != notification.name) continue;
            if (o.object && o.object != notification.object) continue;
            matching.emplace_back(o.id, o.handler);
        }
    }
    for (const auto& [id, handler] : matching) {
        bool stillObserving;
        {
            std::lock_guard lock(mutex_);
            stillObserving = std::any_of(observers_.begin(), observers_.end(),
                                         [id = id](const Observer& o) { return o.id == id; });
        }
        if (stillObserving && *handler) (*handler)(notification);
    }
}

std::size_t NotificationCenter::observerCount() const {
    std::lock_guard lock(mutex_);
    return observers_.size();
}

}  // namespace tallowmere::platform
