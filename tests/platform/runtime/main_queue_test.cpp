#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/runtime/main_queue.h"
#include "platform/runtime/timer.h"
#include "support/fixture.h"

namespace tallowmere::platform {
namespace {

using MainQueueTest = testing::TallowmereTest;

TEST_F(MainQueueTest, RunsInDueOrderThenPostingOrder) {
    std::string order;
    auto& queue = context().mainQueue();
    queue.asyncAfter(2.0, [&] { order += "c"; });
    queue.async([&] { order += "a"; });
    queue.asyncAfter(1.0, [&] { order += "b"; });
    queue.async([&] {
        order += "A";
        queue.async([&] { order += "n"; });  // posted for now: runs in the same idle pass
    });
    runUntilIdle();
    EXPECT_EQ(order, "aAn");
    advance(1.0);
    EXPECT_EQ(order, "aAnb");
    advance(5.0);
    EXPECT_EQ(order, "aAnbc");
}

TEST_F(MainQueueTest, CancelledWorkItemNeverRunsAndReleasesItsCaptures) {
    auto token = std::make_shared<int>(7);
    bool ran = false;
    auto item = context().mainQueue().asyncAfter(1.0, [&ran, token] { ran = true; });
    std::weak_ptr<int> watch = token;
    token.reset();
    item->cancel();
    EXPECT_TRUE(watch.expired());
    advance(10.0);
    EXPECT_FALSE(ran);
    EXPECT_EQ(context().mainQueue().pendingCount(), 0u);
}

TEST_F(MainQueueTest, RepeatingTimerFiresOncePerIntervalOnTheVirtualClock) {
    int fires = 0;
    auto timer = Timer::scheduledTimer(1.0, true, [&](Timer&) { ++fires; });
    advance(3.0);
    EXPECT_EQ(fires, 3);
    advance(0.5);
    EXPECT_EQ(fires, 3);
    timer->invalidate();
    advance(10.0);
    EXPECT_EQ(fires, 3);
}

TEST_F(MainQueueTest, ScheduledTimerIsKeptAliveByTheQueueUntilInvalidated) {
    int fires = 0;
    std::weak_ptr<Timer> watch;
    {
        auto timer = Timer::scheduledTimer(0.5, true, [&](Timer& t) {
            if (++fires == 4) t.invalidate();
        });
        watch = timer;
    }
    advance(1.0);
    EXPECT_EQ(fires, 2);
    EXPECT_FALSE(watch.expired());
    advance(5.0);
    EXPECT_EQ(fires, 4);
    EXPECT_TRUE(watch.expired());
}

TEST_F(MainQueueTest, APendingTimerIsFreedWithItsQueue) {
    std::weak_ptr<Timer> watch;
    {
        VirtualClock clock;
        MainQueue queue(clock);
        auto timer = Timer::scheduledTimer(queue, 5.0, true, [](Timer&) {});
        watch = timer;
    }
    EXPECT_TRUE(watch.expired()) << "a timer still scheduled when its queue went away was never freed";
}

TEST_F(MainQueueTest, OneShotTimerAtDateFiresOnceAndBecomesInvalid) {
    int fires = 0;
    auto when = clock().now().addingTimeInterval(90);
    auto timer = Timer::scheduledTimer(when, [&](Timer&) { ++fires; });
    advance(89.0);
    EXPECT_EQ(fires, 0);
    advance(1.0);
    EXPECT_EQ(fires, 1);
    EXPECT_FALSE(timer->isValid());
    advance(100.0);
    EXPECT_EQ(fires, 1);
}

TEST_F(MainQueueTest, WorkRunsWithTheClockAtItsOwnDueTime) {
    std::vector<double> seen;
    const double start = clock().uptime();
    for (double delay : {0.25, 1.5, 0.75})
        context().mainQueue().asyncAfter(delay, [&] { seen.push_back(clock().uptime() - start); });
    advance(2.0);
    EXPECT_EQ(seen, (std::vector<double>{0.25, 0.75, 1.5}));
    EXPECT_DOUBLE_EQ(clock().uptime() - start, 2.0);
}

// A modal loop runs inside an item: it returns as soon as its condition
// holds, leaving later work to the outer loop, or when the queue is stopped.
TEST_F(MainQueueTest, NestedLoopEndsWhenDoneOrStopped) {
    auto& queue = context().mainQueue();
    std::string order;
    bool answered = false;
    queue.async([&] { order += "a"; });
    queue.async([&] {
        order += "b";
        answered = true;
    });
    queue.async([&] { order += "c"; });
    EXPECT_TRUE(queue.runUntil([&] { return answered; }));
    EXPECT_EQ(order, "ab") << "the loop ran past its answer";
    EXPECT_EQ(queue.pendingCount(), 1u);

    queue.async([&] { queue.stop(); });
    EXPECT_FALSE(queue.runUntil([] { return false; }));
    EXPECT_EQ(order, "abc");
}

// An engine's loop the queue waits in: each wait runs the engine's own work
// and lets the clock reach the end of the wait, as the real loop would.
class RecordingHost : public RunLoopHost {
public:
    explicit RecordingHost(VirtualClock& clock) : clock_(clock) {}
    void wait(std::optional<double> seconds) override {
        waits.push_back(seconds);
        if (engineWork) std::exchange(engineWork, nullptr)();
        if (seconds) clock_.advance(*seconds);
    }
    void wake() override { ++wakes; }

    std::vector<std::optional<double>> waits;
    std::function<void()> engineWork;
    int wakes = 0;

private:
    VirtualClock& clock_;
};

TEST_F(MainQueueTest, AnIdleQueueWaitsInsideItsHostUntilTheNextItemIsDue) {
    auto& queue = context().mainQueue();
    RecordingHost host(clock());
    queue.setRunLoopHost(&host);
    std::string order;
    queue.asyncAfter(5, [&] { order += "timer "; });
    // What the engine's callback posts during the wait runs next.
    host.engineWork = [&] { queue.async([&] { order += "engine "; }); };
    queue.asyncAfter(7, [&] {
        order += "stop";
        queue.stop();
    });
    const int wakesBefore = host.wakes;
    queue.run();

    EXPECT_EQ(order, "engine timer stop");
    ASSERT_FALSE(host.waits.empty());
    EXPECT_EQ(host.waits.front(), 5.0) << "the wait ends when the first item falls due";
    EXPECT_GE(host.wakes - wakesBefore, 2) << "posting and stopping wake the host";
    queue.setRunLoopHost(nullptr);
}

TEST_F(MainQueueTest, ItemPerformedHookFollowsEveryItemRun) {
    auto& queue = context().mainQueue();
    int performed = 0;
    queue.onItemPerformed = [&] { ++performed; };
    queue.async([] {});
    queue.asyncAfter(1.0, [] {});
    queue.asyncAfter(2.0, [] {})->cancel();
    runUntilIdle();
    EXPECT_EQ(performed, 1);
    advance(3.0);
    EXPECT_EQ(performed, 2) << "a cancelled item counted as work";
}

}  // namespace
}  // namespace tallowmere::platform
