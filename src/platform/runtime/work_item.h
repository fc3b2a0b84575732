#pragma once

#include <functional>
#include <memory>
#include <mutex>

namespace tallowmere::platform {

// A block of work that can be cancelled before it runs. Cancelling drops the
// block at once, so whatever it captured is released without waiting for
// the moment it would have run.
class WorkItem {
public:
    explicit WorkItem(std::function<void()> block) : block_(std::move(block)) {}
    static std::shared_ptr<WorkItem> make(std::function<void()> block) {
        return std::make_shared<WorkItem>(std::move(block));
    }

    WorkItem(const WorkItem&) = delete;
    WorkItem& operator=(const WorkItem&) = delete;

    // Runs the block unless the item was cancelled. Safe to call once or many times.
    void perform();
    // Thread-safe; a block already running finishes.
    void cancel();
    bool isCancelled() const;

private:
    mutable std::mutex mutex_;
    std::function<void()> block_;
    bool cancelled_ = false;
};

}  // namespace tallowmere::platform
