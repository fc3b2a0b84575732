#include "platform/runtime/app_context.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace tallowmere::platform {

namespace {
// The only process-wide mutable pointer: which context is current.
AppContext* currentContext = nullptr;

std::uint64_t nextSerial() {
    static std::atomic<std::uint64_t> last{0};
    return ++last;
}
}  // namespace

AppContext::AppContext(Options options) : options_(std::move(options)), serial_(nextSerial()) {
    if (options_.deterministic) {
        auto clock = std::make_unique<VirtualClock>();
        virtualClock_ = clock.get();
        clock_ = std::move(clock);
    } else {
        clock_ = std::make_unique<RealClock>();
    }
    mainQueue_ = std::make_unique<MainQueue>(*clock_);
    if (virtualClock_) virtualClock_->setScheduler(mainQueue_.get());
    previous_ = currentContext;
    currentContext = this;
}

AppContext::~AppContext() {
    // Pending work may hold the last references to shared instances; drop it
    // first so they die in a known order below.
    mainQueue_->discardAll();
    // Each instance leaves the index before it dies, so a destructor that looks
    // up an instance already gone finds none rather than a stale slot.
    while (!services_.empty()) {
        std::shared_ptr<void> dying;
        {
            std::lock_guard lock(servicesMutex_);
            dying = std::move(services_.back().instance);
            index_.erase(services_.back().type);
            services_.pop_back();
        }
        dying.reset();
    }
    mainQueue_->discardAll();
    if (virtualClock_) virtualClock_->setScheduler(nullptr);
    currentContext = previous_;
}

AppContext& AppContext::current() {
    if (!currentContext) {
        std::fprintf(stderr, "AppContext::current() called with no context\n");
        std::abort();
    }
    return *currentContext;
}

bool AppContext::hasCurrent() { return currentContext != nullptr; }

void AppContext::beginMaking(std::type_index type) {
    if (std::find(making_.begin(), making_.end(), type) != making_.end()) {
        std::fprintf(stderr, "AppContext: %s needs itself while being made\n", type.name());
        std::abort();
    }
    making_.push_back(type);
}

void AppContext::store(std::type_index type, std::shared_ptr<void> instance) {
    std::erase(making_, type);
    if (auto it = index_.find(type); it != index_.end()) {
        services_[it->second].instance = std::move(instance);
        return;
    }
    index_.emplace(type, services_.size());
    services_.push_back(Service{type, std::move(instance)});
}

}  // namespace tallowmere::platform
