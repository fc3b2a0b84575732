#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <typeindex>
#include <unordered_map>
#include <vector>

#include "platform/runtime/clock.h"
#include "platform/runtime/main_queue.h"
#include "platform/runtime/notification_center.h"

namespace tallowmere::platform {

// Owns the process-wide instances (`X::shared()`), the clock, the main queue
// and the default notification centre. The program makes one; every test
// makes a fresh one, so no state leaks between tests.
//
// The context made last is current until it is destroyed (contexts nest).
// Shared instances are created on first use and destroyed in the reverse
// order of their creation, before the queue and the clock.
class AppContext {
public:
    struct Options {
        // Virtual time and deterministic background queues, for tests.
        bool deterministic = false;
        // The preferences domain and the identity of the program.
        std::string bundleIdentifier = "com.quenlow.tallowmere";
    };

    explicit AppContext(Options options);
    AppContext() : AppContext(Options{}) {}
    ~AppContext();

    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    // The current context; a call with none is a programming error and aborts.
    static AppContext& current();
    static bool hasCurrent();

    bool isDeterministic() const { return options_.deterministic; }
    // Distinct for every context of the process, never reused: a cache made
    // for one context can tell it is looking at another.
    std::uint64_t serial() const { return serial_; }
    const std::string& bundleIdentifier() const { return options_.bundleIdentifier; }

    Clock& clock() { return *clock_; }
    // The virtual clock of a deterministic context; null in the program.
    VirtualClock* virtualClock() { return virtualClock_; }
    MainQueue& mainQueue() { return *mainQueue_; }
    NotificationCenter& notificationCenter() { return notificationCenter_; }

    // The process-wide instance of T, made on first use by `T::makeShared()`
    // when T declares it, otherwise by T's default constructor. Safe from any
    // thread: background queues reach shared instances too. The lock is
    // recursive because making one instance often asks for another.
    template <class T>
    T& shared() {
        std::lock_guard lock(servicesMutex_);
        if (auto* existing = sharedIfMade<T>()) return *existing;
        beginMaking(typeid(T));
        std::shared_ptr<T> made;
        if constexpr (requires { { T::makeShared() } -> std::convertible_to<std::shared_ptr<T>>; }) {
            made = T::makeShared();
        } else {
            made = std::make_shared<T>();
        }
        T& result = *made;
        store(typeid(T), std::move(made));
        return result;
    }

    // Puts `instance` in place as the shared T (a test's stand-in, say).
    template <class T>
    void setShared(std::shared_ptr<T> instance) {
        std::lock_guard lock(servicesMutex_);
        store(typeid(T), std::move(instance));
    }

    template <class T>
    T* sharedIfMade() {
        std::lock_guard lock(servicesMutex_);
        auto it = index_.find(typeid(T));
        return it == index_.end() ? nullptr : static_cast<T*>(services_[it->second].instance.get());
    }

private:
    void beginMaking(std::type_index type);
    void store(std::type_index type, std::shared_ptr<void> instance);

    Options options_;
    const std::uint64_t serial_;
    std::unique_ptr<Clock> clock_;
    VirtualClock* virtualClock_ = nullptr;
    std::unique_ptr<MainQueue> mainQueue_;
    NotificationCenter notificationCenter_;
    std::recursive_mutex servicesMutex_;
    struct Service {
        std::type_index type;
        std::shared_ptr<void> instance;
    };
    std::vector<Service> services_;  // in order of creation
    std::unordered_map<std::type_index, std::size_t> index_;
    std::vector<std::type_index> making_;  // guards against construction cycles
    AppContext* previous_ = nullptr;
};

}  // namespace tallowmere::platform
