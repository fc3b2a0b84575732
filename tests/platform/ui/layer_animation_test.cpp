#include <gtest/gtest.h>

#include "platform/ui/layer_animation_ticker.h"
#include "platform/ui/layer_style.h"
#include "platform/ui/view.h"
#include "platform/ui/window.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere::platform {
namespace {

// A grey level per value, so a sampled colour reads as a position.
LayerGradient greyCycle(std::vector<double> keyTimes, std::vector<TimingFunction> functions) {
    LayerGradient gradient;
    gradient.name = "cycle";
    gradient.colors = {Color::calibratedWhite(0)};
    LayerKeyframeAnimation animation;
    animation.key = "cycle.colors";
    for (double level : {0.0, 0.2, 0.8, 1.0}) animation.colorValues.push_back({Color::calibratedWhite(level)});
    animation.keyTimes = std::move(keyTimes);
    animation.timingFunctions = std::move(functions);
    animation.duration = 10;
    animation.repeatsForever = true;
    animation.beginTime = 100;
    gradient.addAnimation(std::move(animation));
    return gradient;
}

double greyAt(const LayerGradient& gradient, double uptime) {
    return gradient.presentation(uptime).colors.at(0).rgba().red;
}

TEST(LayerKeyframeAnimationTest, ValuesFallOnTheirKeyTimesAndEachSegmentEasesOnItsOwn) {
    const auto uneven = greyCycle({0, 0.1, 0.9, 1}, {});
    const auto eased = greyCycle({0, 0.1, 0.9, 1}, std::vector<TimingFunction>(3, TimingFunction::easeInEaseOut));
    const auto even = greyCycle({}, {});
    struct Case {
        const LayerGradient* gradient;
        double uptime;
        double grey;
    } cases[] = {
        {&uneven, 100, 0},     {&uneven, 100.5, 0.1},  {&uneven, 101, 0.2},  {&uneven, 105, 0.5},
        {&uneven, 109, 0.8},   {&uneven, 109.5, 0.9},  {&uneven, 110, 0},    {&uneven, 111, 0.2},
        // Half way through a segment is half way on the symmetric curve, a
        // quarter in is well short of a quarter.
        {&eased, 105, 0.5},    {&eased, 101, 0.2},
        {&even, 100 + 10.0 / 6, 0.1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.uptime);
        EXPECT_NEAR(greyAt(*c.gradient, c.uptime), c.grey, 1e-6);
    }
    EXPECT_LT(greyAt(eased, 103), 0.2 + 0.25 * 0.6 - 0.05) << "ease-in-ease-out starts slowly";
    EXPECT_GT(greyAt(eased, 103), 0.2);
}

TEST(LayerKeyframeAnimationTest, TheLayerClockRetimesItsAnimationsWithoutAJump) {
    auto gradient = greyCycle({}, {});
    const double now = 104;
    const double before = greyAt(gradient, now);
    // Three times as fast from now on, continuing from the same local time.
    const double local = gradient.timing.localTime(now);
    gradient.timing = {.speed = 3, .beginTime = now - local / 3, .timeOffset = 0};
    EXPECT_NEAR(greyAt(gradient, now), before, 1e-9);
    EXPECT_NEAR(greyAt(gradient, now + 1), greyAt(greyCycle({}, {}), now + 3), 1e-9);
}

class LayerAnimationTickerTest : public testing::DesktopTest {
protected:
    // An animated view in a shown window.
    void show() {
        window = Window::make(ScreenRect{100, 100, 300, 200}, WindowStyleMask{WindowStyleMask::borderless});
        content = View::make({0, 0, 300, 200});
        animated = View::make({10, 10, 100, 100});
        animated->mutableLayer().insertGradientAtBottom(greyCycle({}, {}));
        content->addSubview(animated);
        window->setContentView(content);
        window->orderFront();
    }
    // Frames asked for in one second of virtual time.
    int framesInOneSecond() {
        int frames = 0;
        for (int i = 0; i < 120; ++i) {
            animated->setNeedsDisplay(false);
            advance(1.0 / 120);
            if (animated->needsDisplay()) ++frames;
        }
        return frames;
    }
    // About thirty: where the second's edge cuts the frames decides the last.
    void expectThirtyFrames() {
        const int frames = framesInOneSecond();
        EXPECT_GE(frames, 29);
        EXPECT_LE(frames, 30);
    }
    LayerAnimationTicker& ticker() { return LayerAnimationTicker::shared(); }

    std::shared_ptr<Window> window;
    std::shared_ptr<View> content;
    std::shared_ptr<View> animated;
};

TEST_F(LayerAnimationTickerTest, RedrawsAShownAnimationThirtyTimesASecondAndNothingWhileHidden) {
    show();
    expectThirtyFrames();

    struct Case {
        const char* what;
        std::function<void()> hide;
        std::function<void()> showAgain;
    } cases[] = {
        {"a hidden ancestor", [&] { content->setHidden(true); }, [&] { content->setHidden(false); }},
        {"the view hidden", [&] { animated->setHidden(true); }, [&] { animated->setHidden(false); }},
        {"the window ordered out", [&] { window->orderOut(); }, [&] { window->orderFront(); }},
        {"out of the window", [&] { animated->removeFromSuperview(); }, [&] { content->addSubview(animated); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.hide();
        EXPECT_FALSE(ticker().isTicking());
        EXPECT_EQ(context().mainQueue().pendingCount(), 0u) << "nothing is scheduled while nothing animated shows";
        EXPECT_EQ(framesInOneSecond(), 0);
        c.showAgain();
        EXPECT_TRUE(animated->needsDisplay()) << "shown again with the current colours";
        expectThirtyFrames();
    }
}

TEST_F(LayerAnimationTickerTest, AnAnimationAddedInAWindowStartsTheFramesAndAGoneViewStopsThem) {
    window = Window::make(ScreenRect{100, 100, 300, 200}, WindowStyleMask{WindowStyleMask::borderless});
    content = View::make({0, 0, 300, 200});
    animated = View::make({10, 10, 100, 100});
    LayerGradient still = greyCycle({}, {});
    auto animation = still.animations.front();
    still.animations.clear();
    animated->mutableLayer().insertGradientAtBottom(still);
    content->addSubview(animated);
    window->setContentView(content);
    window->orderFront();
    EXPECT_FALSE(LayerAnimationTicker::sharedIfMade() && ticker().isTicking()) << "a still gradient needs no frames";

    animated->addLayerAnimation("cycle", animation);
    expectThirtyFrames();
    content->removeAllSubviews();
    animated.reset();
    advance(0.1);
    EXPECT_FALSE(ticker().isTicking());
}

}  // namespace
}  // namespace tallowmere::platform
