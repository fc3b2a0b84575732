#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace tallowmere::platform {

class MainQueue;

// A private serial queue for background work (configuration writes, file
// operations, script reads). Items run one at a time in posting order.
//
// In the program each queue has its own thread. In a deterministic context
// (tests) an item runs on the main queue's next turn instead, so a test sees
// background work finish at a known point (`runUntilIdle`, `advance`).
//
// `sync` from the queue's own work would deadlock on a Mac; here it is
// detected and ends the process with a message, as a programming error.
class SerialQueue {
public:
    // Made in the current AppContext, which decides threaded or deterministic.
    explicit SerialQueue(std::string label);
    ~SerialQueue();  // finishes the work already posted

    SerialQueue(const SerialQueue&) = delete;
    SerialQueue& operator=(const SerialQueue&) = delete;

    const std::string& label() const { return label_; }

    void async(std::function<void()> block);
    // Runs `block` on the queue and waits for it.
    void sync(const std::function<void()>& block);

    // True while this thread runs an item of this queue.
    bool isCurrent() const;

private:
    struct Shared;
    void runItem(const std::function<void()>& block);
    void workerLoop();

    std::string label_;
    MainQueue* deterministicTarget_ = nullptr;  // set in deterministic mode
    std::shared_ptr<Shared> shared_;            // outlives the queue for items posted to main
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<std::function<void()>> items_;
    bool running_ = false;  // an item is executing
    bool stopping_ = false;
    std::thread worker_;
};

}  // namespace tallowmere::platform
