#include "platform/viewer/frame_pacer.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/fixture.h"

namespace tallowmere::platform {
namespace {

class FramePacerTest : public testing::TallowmereTest {
  protected:
    FramePacerTest() {
        context().mainQueue().onItemPerformed = [this] { pacer.itemPerformed(); };
    }
    ~FramePacerTest() override { context().mainQueue().onItemPerformed = nullptr; }

    std::vector<double> frames;  // uptime of each frame
    FramePacer pacer{context().mainQueue(), clock(),
                     [this] { frames.push_back(clock().uptime()); }};

    void work() {
        context().mainQueue().async([] {});
    }
};

TEST_F(FramePacerTest, ChangesAfterAQuietSpellAreDrawnOnTheNextTurn) {
    const double start = clock().uptime();
    work();
    work();
    work();
    runUntilIdle();
    EXPECT_EQ(frames, (std::vector<double>{start})) << "three changes in one turn are one frame";
}

TEST_F(FramePacerTest, FasterChangesWaitForTheNextFrameSlot) {
    const double start = clock().uptime();
    work();
    runUntilIdle();
    advance(0.01);
    work();
    runUntilIdle();
    EXPECT_EQ(frames.size(), 1u) << "drew again within a frame interval";
    advance(FramePacer::frameInterval);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_NEAR(frames[1] - start, FramePacer::frameInterval, 1e-9);
}

TEST_F(FramePacerTest, NothingIsDrawnWhileNothingRuns) {
    work();
    runUntilIdle();
    advance(10);
    EXPECT_EQ(frames.size(), 1u) << "the frame itself counted as a change";
    EXPECT_EQ(context().mainQueue().pendingCount(), 0u);
}

}  // namespace
}  // namespace tallowmere::platform
