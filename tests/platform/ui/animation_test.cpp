#include <gtest/gtest.h>

#include "platform/ui/animation.h"
#include "platform/ui/window.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere::platform {
namespace {

class AnimationTest : public testing::DesktopTest {};

TEST_F(AnimationTest, CompletesExactlyAtTheEndOfItsDurationOnTheVirtualClock) {
    std::vector<double> steps;
    int completions = 0;
    auto animation = Animation::make({0.2, TimingFunction::linear}, [&](double p) { steps.push_back(p); });
    animation->onComplete = [&] { ++completions; };
    animation->start();

    advance(0.19);
    EXPECT_EQ(completions, 0);
    EXPECT_LT(steps.back(), 1.0);
    advance(0.01);
    EXPECT_EQ(completions, 1);
    EXPECT_EQ(steps.back(), 1.0);
    EXPECT_EQ(animation->state(), Animation::State::finished);
    // A frame for every 1/60 s, the last one at the end itself.
    EXPECT_EQ(steps.size(), 12u);
    EXPECT_TRUE(std::is_sorted(steps.begin(), steps.end()));
    advance(1);
    EXPECT_EQ(completions, 1);
}

TEST_F(AnimationTest, CancelledAnimationStopsWhereItIsWithoutItsCompletion) {
    auto window = Window::make(ScreenRect{100, 100, 100, 100}, WindowStyleMask::borderless);
    bool completed = false;
    auto fade = window->animateAlphaValue(0, {0.2, TimingFunction::linear}, [&] { completed = true; });
    advance(0.1);
    fade->cancel();
    const double halfway = window->alphaValue();
    advance(1);
    EXPECT_FALSE(completed);
    EXPECT_NEAR(halfway, 0.5, 0.01);
    EXPECT_EQ(window->alphaValue(), halfway);
}

TEST_F(AnimationTest, InterruptedFadeOutDoesNotHideTheWindowShownAgain) {
    auto palette = Window::make(ScreenRect{100, 100, 106, 106}, WindowStyleMask::borderless);
    palette->orderFront();
    AnimationGroup::run({0.2, TimingFunction::easeInEaseOut},
                        [&](AnimationGroup& group) { group.animateAlphaValue(*palette, 0); },
                        [&] {
                            palette->orderOut();
                            palette->setAlphaValue(1);
                        });
    advance(0.1);
    palette->setAlphaValue(1);  // shown again under the pointer
    advance(1);
    EXPECT_TRUE(palette->isVisible());
    EXPECT_EQ(palette->alphaValue(), 1.0);
}

TEST_F(AnimationTest, GroupCompletesOnceAllItsAnimationsFinish) {
    auto window = Window::make(ScreenRect{0, 0, 100, 100}, WindowStyleMask::borderless);
    int completions = 0;
    AnimationGroup::run({0.25, TimingFunction::easeOut},
                        [&](AnimationGroup& group) {
                            group.animateFrame(*window, ScreenRect{200, 100, 300, 200});
                            group.animateAlphaValue(*window, 0.5);
                        },
                        [&] { ++completions; });
    advance(0.2);
    EXPECT_EQ(completions, 0);
    advance(0.05);
    EXPECT_EQ(completions, 1);
    EXPECT_EQ(window->frame(), (ScreenRect{200, 100, 300, 200}));
    EXPECT_EQ(window->alphaValue(), 0.5);

    auto empty = AnimationGroup::run({0.25}, nullptr, [&] { ++completions; });
    EXPECT_EQ(completions, 1) << "an empty group completed inside run";
    runUntilIdle();
    EXPECT_EQ(completions, 2);
}

TEST_F(AnimationTest, SetFrameReplacesARunningFrameAnimation) {
    auto window = Window::make(ScreenRect{0, 0, 100, 100}, WindowStyleMask::borderless);
    window->setFrame(ScreenRect{500, 500, 100, 100}, true, true, {0.3, TimingFunction::linear});
    advance(0.1);
    window->setFrame(ScreenRect{10, 10, 50, 50});
    advance(1);
    EXPECT_EQ(window->frame(), (ScreenRect{10, 10, 50, 50}));
}

TEST_F(AnimationTest, AnimationsStillRunningWhenTheProgramEndsAreDropped) {
    auto window = Window::make(ScreenRect{0, 0, 100, 100}, WindowStyleMask::borderless);
    bool completed = false;
    AnimationGroup::run({10}, [&](AnimationGroup& group) {
        group.animateAlphaValue(*window, 0);
        group.animate([](double) {});
    }, [&] { completed = true; });
    advance(1);
    window.reset();  // the window's own fade ends with it; the group cannot complete
    advance(20);
    EXPECT_FALSE(completed);
}

TEST_F(AnimationTest, TimingCurvesRunFromZeroToOne) {
    for (auto function : {TimingFunction::linear, TimingFunction::easeIn, TimingFunction::easeOut,
                          TimingFunction::easeInEaseOut, TimingFunction::systemDefault}) {
        SCOPED_TRACE(static_cast<int>(function));
        EXPECT_EQ(easedProgress(function, 0), 0);
        EXPECT_EQ(easedProgress(function, 1), 1);
        EXPECT_LE(easedProgress(function, 0.3), easedProgress(function, 0.6));
    }
    EXPECT_LT(easedProgress(TimingFunction::easeIn, 0.25), 0.25);
    EXPECT_GT(easedProgress(TimingFunction::easeOut, 0.25), 0.25);
    EXPECT_NEAR(easedProgress(TimingFunction::easeInEaseOut, 0.5), 0.5, 1e-6);
}

}  // namespace
}  // namespace tallowmere::platform
