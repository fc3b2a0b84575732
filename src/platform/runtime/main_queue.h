#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <queue>
#include <thread>
#include <vector>

#include "platform/runtime/clock.h"
#include "platform/runtime/run_loop_host.h"
#include "platform/runtime/work_item.h"

namespace tallowmere::platform {

// The main thread's queue: everything that touches the interface, the stores
// and the feature controllers runs here. Work runs in order of its due time,
// and in order of posting among equal due times. Posting is thread-safe.
//
// In the program `run()` blocks and waits on the real clock; in tests the
// queue is driven by a VirtualClock (`advance`) and by `runUntilIdle()`.
class MainQueue final : public VirtualClockScheduler {
public:
    explicit MainQueue(Clock& clock);
    ~MainQueue() override;

    MainQueue(const MainQueue&) = delete;
    MainQueue& operator=(const MainQueue&) = delete;

    // Runs `block` on a later turn of the queue, never inside this call.
    void async(std::function<void()> block);
    void async(std::shared_ptr<WorkItem> item);
    // Runs after `seconds` of uptime; the returned item cancels it.
    std::shared_ptr<WorkItem> asyncAfter(double seconds, std::function<void()> block);
    void asyncAfter(double seconds, std::shared_ptr<WorkItem> item);

    // True on the thread that made the queue.
    bool isCurrentThread() const;

    // Runs every item that is due now, including what those items post for
    // now, and returns when none is left. Future work stays scheduled.
    void runUntilIdle();
    // Runs until `stop()`, sleeping until the next due item or a new post.
    void run();
    // The same, but also returns once `done()` answers true, which it is
    // asked before waiting and after each item: a modal loop nested inside
    // an item. True when `done()` ended it, false when `stop()` did.
    bool runUntil(const std::function<bool()>& done);
    // Thread-safe; `run()` returns after the item in progress.
    void stop();

    // Number of items not yet run (cancelled items excluded).
    std::size_t pendingCount() const;
    // Drops every pending item without running it.
    void discardAll();

    // Called on the queue's thread after each item it performed; the desktop
    // viewer redraws after work because any item may change the screen.
    std::function<void()> onItemPerformed;

    // Waits inside `host` from now on while nothing is due (null: the
    // queue's own wait). Set on the queue's thread; the host outlives the
    // queue's use of it.
    void setRunLoopHost(RunLoopHost* host);

    // VirtualClockScheduler
    bool nextDueUptime(double& uptime) const override;
    void runDue() override { runUntilIdle(); }

private:
    struct Entry {
        double due;
        std::uint64_t sequence;
        std::shared_ptr<WorkItem> item;
        bool operator>(const Entry& other) const {
            return due != other.due ? due > other.due : sequence > other.sequence;
        }
    };
    using Heap = std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>>;

    void schedule(double due, std::shared_ptr<WorkItem> item);
    // Pops the first entry due at `now`, skipping cancelled ones.
    std::shared_ptr<WorkItem> popDue(double now);
    void dropCancelledLocked() const;

    Clock& clock_;
    std::thread::id thread_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    mutable Heap heap_;
    std::uint64_t nextSequence_ = 0;
    bool stopped_ = false;
    std::atomic<RunLoopHost*> host_ = nullptr;
};

}  // namespace tallowmere::platform
