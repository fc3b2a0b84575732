#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace tallowmere::platform {

using UserInfo = std::map<std::string, std::any>;

struct Notification {
    std::string name;
    const void* object = nullptr;  // the sender, compared by identity
    UserInfo userInfo;

    // The value under `key` if it is present and of type T.
    template <class T>
    const T* info(const std::string& key) const {
        auto it = userInfo.find(key);
        return it == userInfo.end() ? nullptr : std::any_cast<T>(&it->second);
    }
};

// Identifies one observation; pass it to `removeObserver`.
class ObserverToken {
public:
    ObserverToken() = default;
    bool isValid() const { return id_ != 0; }
    bool operator==(const ObserverToken&) const = default;

private:
    friend class NotificationCenter;
    explicit ObserverToken(std::uint64_t id) : id_(id) {}
    std::uint64_t id_ = 0;
};

// Delivers notifications to observers by name and, optionally, by sender.
//
// Delivery is synchronous: `post` calls every matching observer on the
// posting thread, in the order they were added, before it returns. An
// observer added during a post does not receive that post; one removed during
// a post is not called after its removal. Observers may post in turn.
class NotificationCenter {
public:
    using Handler = std::function<void(const Notification&)>;

    NotificationCenter() = default;
    NotificationCenter(const NotificationCenter&) = delete;
    NotificationCenter& operator=(const NotificationCenter&) = delete;

    // An empty name observes every notification; a null object any sender.
    ObserverToken addObserver(std::string name, const void* object, Handler handler);
    void removeObserver(const ObserverToken& token);

    void post(const Notification& notification);
    void post(std::string name, const void* object = nullptr, UserInfo userInfo = {});

    std::size_t observerCount() const;

private:
    struct Observer {
        std::uint64_t id;
        std::string name;
        const void* object;
        std::shared_ptr<Handler> handler;
    };

    mutable std::mutex mutex_;
    std::vector<Observer> observers_;
    std::uint64_t nextId_ = 1;
};

}  // namespace tallowmere::platform
