#include "app/termination_signals.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <thread>
#include <vector>

#include "support/fixture.h"

namespace tallowmere {
namespace {

class TerminationSignalsTest : public testing::TallowmereTest {
protected:
    // Runs the main queue until `count` signals were handled there, for a few seconds at most.
    void handleUntil(std::size_t count) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (handled.size() < count && std::chrono::steady_clock::now() < deadline) {
            if (context().mainQueue().pendingCount() == 0) std::this_thread::yield();
            runUntilIdle();
        }
    }

    std::vector<int> handled;
};

TEST_F(TerminationSignalsTest, TermAndIntReachTheMainQueueAndThePreviousHandlersComeBack) {
    struct sigaction before {};
    ::sigaction(SIGTERM, nullptr, &before);
    {
        auto signals = TerminationSignals::install(context().mainQueue(), [this](int signal) {
            EXPECT_TRUE(context().mainQueue().isCurrentThread());
            handled.push_back(signal);
        });
        ASSERT_TRUE(signals.ok()) << signals.error().message;
        EXPECT_FALSE(TerminationSignals::install(context().mainQueue(), [](int) {}).ok())
            << "one process has one place for its signals";

        ::kill(::getpid(), SIGTERM);
        handleUntil(1);
        ::kill(::getpid(), SIGINT);
        handleUntil(2);
        EXPECT_EQ(handled, (std::vector<int>{SIGTERM, SIGINT}));
    }
    struct sigaction after {};
    ::sigaction(SIGTERM, nullptr, &after);
    EXPECT_EQ(after.sa_handler, before.sa_handler);

    auto again = TerminationSignals::install(context().mainQueue(), [](int) {});
    EXPECT_TRUE(again.ok()) << "a new one may come once the old one has gone";
}

}  // namespace
}  // namespace tallowmere
