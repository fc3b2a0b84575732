#include "platform/runtime/main_queue.h"

#include <chrono>

namespace tallowmere::platform {

MainQueue::MainQueue(Clock& clock) : clock_(clock), thread_(std::this_thread::get_id()) {}

MainQueue::~MainQueue() { discardAll(); }

void MainQueue::async(std::function<void()> block) { async(WorkItem::make(std::move(block))); }

void MainQueue::async(std::shared_ptr<WorkItem> item) { schedule(clock_.uptime(), std::move(item)); }

std::shared_ptr<WorkItem> MainQueue::asyncAfter(double seconds, std::function<void()> block) {
    auto item = WorkItem::make(std::move(block));
    asyncAfter(seconds, item);
    return item;
}

void MainQueue::asyncAfter(double seconds, std::shared_ptr<WorkItem> item) {
    schedule(clock_.uptime() + (seconds > 0 ? seconds : 0), std::move(item));
}

void MainQueue::schedule(double due, std::shared_ptr<WorkItem> item) {
    if (!item) return;
    {
        std::lock_guard lock(mutex_);
        heap_.push(Entry{due, nextSequence_++, std::move(item)});
    }
    wake_.notify_all();
    if (auto* host = host_.load()) host->wake();
}

void MainQueue::setRunLoopHost(RunLoopHost* host) {
    host_.store(host);
    wake_.notify_all();
}

bool MainQueue::isCurrentThread() const { return std::this_thread::get_id() == thread_; }

void MainQueue::dropCancelledLocked() const {
    while (!heap_.empty() && heap_.top().item->isCancelled()) heap_.pop();
}

std::shared_ptr<WorkItem> MainQueue::popDue(double now) {
    std::lock_guard lock(mutex_);
    dropCancelledLocked();
    if (heap_.empty() || heap_.top().due > now) return nullptr;
    auto item = heap_.top().item;
    heap_.pop();
    return item;
}

void MainQueue::runUntilIdle() {
    while (auto item = popDue(clock_.uptime())) {
        item->perform();
        if (onItemPerformed) onItemPerformed();
    }
}

void MainQueue::run() {
    runUntil([] { return false; });
}

bool MainQueue::runUntil(const std::function<bool()>& done) {
    std::unique_lock lock(mutex_);
    while (!stopped_) {
        lock.unlock();
        const bool finished = done();
        lock.lock();
        if (finished) return true;
        dropCancelledLocked();
        const double now = clock_.uptime();
        if (!heap_.empty() && heap_.top().due <= now) {
            auto item = heap_.top().item;
            heap_.pop();
            lock.unlock();
            item->perform();
            item.reset();
            if (onItemPerformed) onItemPerformed();
            lock.lock();
            continue;
        }
        if (auto* host = host_.load()) {
            std::optional<double> timeout;
            if (!heap_.empty()) timeout = heap_.top().due - now;
            lock.unlock();
            host->wait(timeout);
            lock.lock();
        } else if (heap_.empty()) {
            wake_.wait(lock);
        } else {
            wake_.wait_for(lock, std::chrono::duration<double>(heap_.top().due - now));
        }
    }
    return false;
}

void MainQueue::stop() {
    {
        std::lock_guard lock(mutex_);
        stopped_ = true;
    }
    wake_.notify_all();
    if (auto* host = host_.load()) host->wake();
}

std::size_t MainQueue::pendingCount() const {
    std::lock_guard lock(mutex_);
    std::size_t count = 0;
    Heap copy = heap_;
    while (!copy.empty()) {
        if (!copy.top().item->isCancelled()) ++count;
        copy.pop();
    }
    return count;
}

void MainQueue::discardAll() {
    Heap dropped;
    {
        std::lock_guard lock(mutex_);
        dropped.swap(heap_);
    }
    // Released outside the lock: captured objects may post while dying.
}

bool MainQueue::nextDueUptime(double& uptime) const {
    std::lock_guard lock(mutex_);
    dropCancelledLocked();
    if (heap_.empty()) return false;
    uptime = heap_.top().due;
    return true;
}

}  // namespace tallowmere::platform
