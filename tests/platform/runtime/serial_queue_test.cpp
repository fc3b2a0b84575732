#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "platform/runtime/serial_queue.h"
#include "support/fixture.h"

namespace tallowmere::platform {
namespace {

using SerialQueueTest = testing::TallowmereTest;

TEST_F(SerialQueueTest, DeterministicQueueRunsOnTheMainQueuesNextTurnInOrder) {
    SerialQueue queue("com.quenlow.tallowmere.test");
    std::string log;
    queue.async([&] {
        log += "a";
        EXPECT_TRUE(queue.isCurrent());
    });
    queue.async([&] { log += "b"; });
    EXPECT_EQ(log, "");
    runUntilIdle();
    EXPECT_EQ(log, "ab");
    EXPECT_FALSE(queue.isCurrent());
}

TEST_F(SerialQueueTest, WorkPostedBeforeTheQueueDiesDoesNotRunAfterIt) {
    bool ran = false;
    {
        SerialQueue queue("com.quenlow.tallowmere.test");
        queue.async([&] { ran = true; });
    }
    runUntilIdle();
    EXPECT_FALSE(ran);
}

TEST_F(SerialQueueTest, SyncFromItsOwnQueueIsAProgrammingError) {
    EXPECT_DEATH(
        {
            SerialQueue queue("com.quenlow.tallowmere.selfsync");
            queue.sync([&] { queue.sync([] {}); });
        },
        "sync called from its own queue");
}

TEST(SerialQueueThreadedTest, RunsOnItsOwnThreadInOrderAndSyncWaits) {
    AppContext context;  // real mode: a thread per queue
    SerialQueue queue("com.quenlow.tallowmere.threaded");
    std::string log;
    const auto mainThread = std::this_thread::get_id();
    std::atomic<bool> offMain{true};
    for (char c : std::string("abcdef")) {
        queue.async([&, c] {
            if (std::this_thread::get_id() == mainThread) offMain = false;
            log += c;
        });
    }
    std::string seen;
    queue.sync([&] { seen = log; });
    EXPECT_EQ(seen, "abcdef");
    EXPECT_TRUE(offMain);
}

}  // namespace
}  // namespace tallowmere::platform
