#include "platform/viewer/scroll_phase_synthesizer.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/fixture.h"

namespace tallowmere::platform {
namespace {

class ScrollPhaseSynthesizerTest : public testing::TallowmereTest {
  protected:
    std::vector<Event> posted;
    ScrollPhaseSynthesizer synthesizer{context().mainQueue(),
                                       [this](Event event) { posted.push_back(event); }};

    void move(double pointsY, ScreenPoint at = {300, 500}) {
        synthesizer.scroll(at, 0, pointsY, /*inverted=*/false, {}, clock().uptime());
    }

    std::vector<EventPhase> phases() const {
        std::vector<EventPhase> seen;
        for (const auto& event : posted) seen.push_back(event.phase);
        return seen;
    }
};

using enum EventPhase;

TEST_F(ScrollPhaseSynthesizerTest, BurstOfFingerMovesIsOneGestureEndedByThePause) {
    move(1);
    advance(0.05);
    move(1);
    advance(0.15);
    move(2);
    EXPECT_EQ(phases(), (std::vector<EventPhase>{began, changed, changed, changed}));
    advance(ScrollPhaseSynthesizer::burstEndDelay - 0.01);
    EXPECT_TRUE(synthesizer.isScrolling()) << "ended before the pause was long enough";
    advance(0.02);
    EXPECT_EQ(phases(), (std::vector<EventPhase>{began, changed, changed, changed, ended}));
    EXPECT_FALSE(synthesizer.isScrolling());

    // The deltas are the fingers' points, precise as a trackpad's; the
    // began and ended events move nothing.
    std::vector<double> deltas;
    for (const auto& event : posted) deltas.push_back(event.scrollingDeltaY);
    EXPECT_EQ(deltas, (std::vector<double>{0, 1, 1, 2, 0}));
    EXPECT_TRUE(posted[1].hasPreciseScrollingDeltas);
    EXPECT_EQ(posted.back().location, (ScreenPoint{300, 500}));
}

TEST_F(ScrollPhaseSynthesizerTest, MovingAfterThePauseBeginsANewGesture) {
    move(-1);
    advance(1);
    move(-1);
    advance(1);
    EXPECT_EQ(phases(), (std::vector<EventPhase>{began, changed, ended, began, changed, ended}));
}

TEST_F(ScrollPhaseSynthesizerTest, EndingEarlyCancelsTheTimerAndEndsOnce) {
    move(1);
    synthesizer.end();
    synthesizer.end();
    advance(1);
    EXPECT_EQ(phases(), (std::vector<EventPhase>{began, changed, ended}));
    EXPECT_EQ(context().mainQueue().pendingCount(), 0u) << "the end timer outlived the gesture";
}

}  // namespace
}  // namespace tallowmere::platform
