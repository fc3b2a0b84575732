#include "platform/runtime/serial_queue.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/runtime/app_context.h"
#include "platform/runtime/main_queue.h"

namespace tallowmere::platform {

namespace {
thread_local std::vector<const SerialQueue*> runningQueues;

struct RunningMark {
    explicit RunningMark(const SerialQueue* q) { runningQueues.push_back(q); }
    ~RunningMark() { runningQueues.pop_back(); }
};
}  // namespace

// State the deterministic mode's main-queue items need after the queue is gone.
struct SerialQueue::Shared {
    std::mutex mutex;
    bool alive = true;
};

SerialQueue::SerialQueue(std::string label)
    : label_(std::move(label)), shared_(std::make_shared<Shared>()) {
    auto& context = AppContext::current();
    if (context.isDeterministic()) deterministicTarget_ = &context.mainQueue();
}

SerialQueue::~SerialQueue() {
    if (deterministicTarget_) {
        std::lock_guard lock(shared_->mutex);
        shared_->alive = false;
        return;
    }
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (worker_.joinable()) worker_.join();
}

bool SerialQueue::isCurrent() const {
    return std::find(runningQueues.begin(), runningQueues.end(), this) != runningQueues.end();
}

void SerialQueue::runItem(const std::function<void()>& block) {
    RunningMark mark(this);
    block();
}

void SerialQueue::async(std::function<void()> block) {
    if (deterministicTarget_) {
        deterministicTarget_->async([this, shared = shared_, block = std::move(block)] {
            {
                std::lock_guard lock(shared->mutex);
                if (!shared->alive) return;
            }
            runItem(block);
        });
        return;
    }
    {
        std::lock_guard lock(mutex_);
        items_.push_back(std::move(block));
        if (!worker_.joinable()) worker_ = std::thread([this] { workerLoop(); });
    }
    wake_.notify_all();
}

void SerialQueue::sync(const std::function<void()>& block) {
    if (isCurrent()) {
        std::fprintf(stderr, "SerialQueue '%s': sync called from its own queue\n", label_.c_str());
        std::abort();
    }
    if (deterministicTarget_) {
        runItem(block);
        return;
    }
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return items_.empty() && !running_; });
    running_ = true;
    lock.unlock();
    runItem(block);
    lock.lock();
    running_ = false;
    lock.unlock();
    idle_.notify_all();
    wake_.notify_all();
}

void SerialQueue::workerLoop() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return !running_ && (stopping_ || !items_.empty()); });
        if (items_.empty()) return;  // stopping, and everything posted has run
        auto block = std::move(items_.front());
        items_.pop_front();
        running_ = true;
        lock.unlock();
        runItem(block);
        block = nullptr;
        lock.lock();
        running_ = false;
        idle_.notify_all();
    }
}

}  // namespace tallowmere::platform
