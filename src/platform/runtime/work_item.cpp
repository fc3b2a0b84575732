#include "platform/runtime/work_item.h"

namespace tallowmere::platform {

void WorkItem::perform() {
    std::function<void()> block;
    {
        std::lock_guard lock(mutex_);
        if (cancelled_) return;
        block = block_;  // a copy: the block may cancel or release this item
    }
    if (block) block();
}

void WorkItem::cancel() {
    std::function<void()> released;
    {
        std::lock_guard lock(mutex_);
        cancelled_ = true;
        released.swap(block_);
    }
    // `released` is destroyed here, outside the lock, in case its captures
    // touch this item again.
}

bool WorkItem::isCancelled() const {
    std::lock_guard lock(mutex_);
    return cancelled_;
}

}  // namespace tallowmere::platform
