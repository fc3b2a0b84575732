#include <algorithm>
#include <cmath>
#include <memory>

#include "platform/system/user_defaults.h"
#include "platform/ui/label.h"
#include "platform/ui/pop_up_button.h"
#include "platform/ui/window_style.h"
#include "support/desktop/desktop_fixture.h"
#include "toys/buddy_motion.h"
#include "toys/fly_simulation_controller.h"
#include "toys/squish_sound.h"
#include "toys/toy_random.h"

namespace tallowmere::testing {
namespace {

using platform::ScreenPoint;
using platform::UserDefaults;

double distance(ScreenPoint a, ScreenPoint b) { return std::hypot(a.x - b.x, a.y - b.y); }

class BuddyTest : public DesktopTest {
protected:
    void SetUp() override { ToyRandom::shared().seed(42); }
    FlySimulationController& buddies() { return FlySimulationController::shared(); }
    UserDefaults& defaults() { return UserDefaults::standard(); }

    // One buddy, made by hand, centred at `at` and heading for `target`.
    std::shared_ptr<Fly> flyAt(ScreenPoint at, ScreenPoint target, int activity = 1) {
        auto fly = buddies().makeFly(0, 0, activity, 1.0);
        const auto frame = fly->window->frame();
        fly->window->setFrameOrigin({at.x - frame.width() / 2, at.y - frame.height() / 2});
        fly->target = target;
        return fly;
    }
    static ScreenPoint centre(const Fly& fly) { return fly.window->frame().center(); }
    // The pointer far from everything.
    static constexpr ScreenPoint farPointer{-5000, -5000};

    int giantsAlive() {
        return static_cast<int>(std::count_if(buddies().flies().begin(), buddies().flies().end(),
                                              [](const auto& fly) { return fly->isGiant; }));
    }
};

TEST_F(BuddyTest, AStallMovesBuddiesAsATenthOfASecondDoes) {
    auto stalled = flyAt({300, 300}, {700, 300});
    auto steady = flyAt({300, 300}, {700, 300});
    advanceBuddy(*stalled, BuddyFrame::make(1000, 0.5, farPointer), ToyRandom::shared());
    advanceBuddy(*steady, BuddyFrame::make(1000, 0.1, farPointer), ToyRandom::shared());
    EXPECT_GT(centre(*steady).x, 300.0) << "the buddy should have moved at all";
    EXPECT_EQ(centre(*stalled), centre(*steady));
}

TEST_F(BuddyTest, TheLastStepLandsOnTheTarget) {
    auto fly = flyAt({300, 300}, {310, 300});
    fly->velocity = {900, 0};  // fast enough to pass the target in one frame
    advanceBuddy(*fly, BuddyFrame::make(1000, 0.1, farPointer), ToyRandom::shared());
    EXPECT_EQ(centre(*fly), (ScreenPoint{310, 300}));
}

TEST_F(BuddyTest, ThePointerNearARestingBuddyStartsAFasterFlightAtOnceButNotAgainSoon) {
    auto resting = flyAt({600, 400}, {600, 400});
    resting->restingUntil = 1005;
    auto calm = flyAt({600, 400}, {600, 400});
    const ScreenPoint pointer{620, 400};  // inside the 104 pt radius of activity 1
    advanceBuddy(*resting, BuddyFrame::make(1000, 0.1, pointer), ToyRandom::shared());
    EXPECT_TRUE(resting->view->isAlarmed());
    EXPECT_EQ(resting->restingUntil, 0.0);
    EXPECT_NE(centre(*resting), (ScreenPoint{600, 400})) << "it takes off in the same frame";
    EXPECT_LT(resting->target.x, 600.0) << "it flees away from the pointer";

    // The same start without alarm, to the same target: slower.
    calm->target = resting->target;
    advanceBuddy(*calm, BuddyFrame::make(1000, 0.1, farPointer), ToyRandom::shared());
    EXPECT_GT(distance(centre(*resting), {600, 400}), distance(centre(*calm), {600, 400}));

    const auto escapeTarget = resting->target;
    advanceBuddy(*resting, BuddyFrame::make(1000.2, 0.1, centre(*resting)), ToyRandom::shared());
    EXPECT_EQ(resting->target, escapeTarget) << "re-alarmed within 0.28 s";
    advanceBuddy(*resting, BuddyFrame::make(1000.3, 0.1, centre(*resting)), ToyRandom::shared());
    EXPECT_NE(resting->target, escapeTarget) << "after 0.28 s the pointer alarms it again";
}

TEST_F(BuddyTest, AHomeboundBuddyIgnoresThePointerAndIsGoneNearItsCorner) {
    buddies().summonTenRandomBuddies();
    ASSERT_EQ(buddies().flies().size(), 10u);
    buddies().sendAllBuddiesHome();
    for (const auto& fly : buddies().flies()) {
        const auto t = fly->target;
        EXPECT_TRUE((t.x == -64 || t.x == 1504) && (t.y == -64 || t.y == 964)) << t.x << "," << t.y;
    }
    const auto first = buddies().flies().front();
    double closest = 1e9;
    for (int frame = 0; frame < 600 && !buddies().flies().empty(); ++frame) {
        mouse.moveTo(centre(*first));  // the pointer sits on it all the way
        if (std::find(buddies().flies().begin(), buddies().flies().end(), first) != buddies().flies().end()) {
            EXPECT_FALSE(first->view->isAlarmed());
            closest = std::min(closest, distance(centre(*first), first->target));
        }
        advance(FlySimulationController::frameInterval);
    }
    EXPECT_TRUE(buddies().flies().empty());
    EXPECT_FALSE(first->window->isVisible());
    EXPECT_LT(closest, 9.0 + 430 * 0.1);
    EXPECT_EQ(defaults().integer(FlySimulationController::countKey), 0);
    EXPECT_FALSE(defaults().boolean(FlySimulationController::enabledKey));
    EXPECT_FALSE(buddies().isTimerRunning());
}

TEST_F(BuddyTest, SummonsKeepToTheLimits) {
    for (int i = 0; i < 3; ++i) buddies().summonTenRandomBuddies();
    auto sender = platform::Label::make();
    for (int i = 0; i < 5; ++i) buddies().summonOneRandomBuddy(*sender);
    ASSERT_EQ(buddies().flies().size(), 35u);
    buddies().summonTenRandomBuddies();
    EXPECT_EQ(buddies().flies().size(), 40u) << "ten with 35 live adds exactly 5";
    EXPECT_EQ(defaults().integer(FlySimulationController::countKey), 40);
    buddies().summonTenRandomBuddies();
    buddies().summonOneRandomBuddy(*sender);
    buddies().summonOneGiantBuddy(*sender);
    EXPECT_EQ(buddies().flies().size(), 40u);

    buddies().dismissAllBuddiesImmediately();
    for (int i = 0; i < 4; ++i) buddies().summonOneGiantBuddy(*sender);
    EXPECT_EQ(giantsAlive(), 3) << "a fourth giant is refused";
    EXPECT_EQ(buddies().flies().front()->window->frame().width(), 114.0);
    EXPECT_EQ(buddies().flies().front()->window->level(), 101);
}

TEST_F(BuddyTest, SquashingTheLastBuddyTurnsTheSimulationOff) {
    auto sender = platform::Label::make();
    buddies().summonOneFly(*sender);
    ASSERT_EQ(buddies().flies().size(), 1u);
    ASSERT_TRUE(buddies().isTimerRunning());
    const auto fly = buddies().flies().front();
    fly->restingUntil = 1e9;  // holds still to be hit
    mouse.click(centre(*fly));
    EXPECT_TRUE(fly->view->isKilled());
    mouse.click(centre(*fly));  // a second click on a squashed buddy does nothing
    const auto& played = desktop.sounds().played();
    EXPECT_EQ(std::count(played.begin(), played.end(), SquishSound::name), 1);
    advance(0.5);
    EXPECT_EQ(buddies().flies().size(), 1u) << "it lies squashed a moment first";
    advance(0.1);
    EXPECT_TRUE(buddies().flies().empty());
    EXPECT_FALSE(fly->window->isVisible());
    EXPECT_EQ(defaults().integer(FlySimulationController::countKey), 0);
    EXPECT_FALSE(defaults().boolean(FlySimulationController::enabledKey));
    EXPECT_FALSE(buddies().isTimerRunning());
}

TEST_F(BuddyTest, TheCountPopUpChoosesOneTwoThreeOrFiveBuddies) {
    auto popUp = platform::PopUpButton::make();
    popUp->addItems({"1", "2", "3", "5", "more", "most"});
    defaults().set(FlySimulationController::enabledKey, true);
    struct Case {
        std::optional<std::size_t> index;
        std::int64_t count;
    } cases[] = {{std::nullopt, 1}, {0, 1}, {2, 3}, {3, 5}, {5, 5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index ? "index " + std::to_string(*c.index) : "nothing selected");
        popUp->selectItem(c.index);
        buddies().changeCount(*popUp);
        EXPECT_EQ(defaults().integer(FlySimulationController::countKey), c.count);
        EXPECT_EQ(static_cast<std::int64_t>(buddies().flies().size()), c.count) << "enabled: rebuilt at once";
    }
}

TEST_F(BuddyTest, CountLabelAndStoredValuesReadClamped) {
    auto label = platform::Label::make();
    defaults().set(FlySimulationController::enabledKey, true);
    defaults().set(FlySimulationController::countKey, std::int64_t{0});
    buddies().bindCountLabel(label, "当前苍蝇");
    buddies().activateSavedStateIfNeeded();
    EXPECT_EQ(label->stringValue(), "当前苍蝇：0 只");
    EXPECT_FALSE(buddies().isTimerRunning());

    defaults().set(FlySimulationController::countKey, std::int64_t{99});
    defaults().set(FlySimulationController::buddyTypeKey, std::int64_t{-3});
    defaults().set(FlySimulationController::buddyStyleKey, std::int64_t{7});
    defaults().set(FlySimulationController::activityKey, std::int64_t{5});
    buddies().activateSavedStateIfNeeded();
    EXPECT_EQ(buddies().flies().size(), 40u);
    EXPECT_EQ(label->stringValue(), "当前苍蝇：40 只");
    EXPECT_EQ(buddies().flies().front()->view->buddyType(), 0);
    EXPECT_EQ(buddies().selectedBuddyStyle(), 2);
    EXPECT_EQ(buddies().flies().front()->activity, 2);

    defaults().set(FlySimulationController::enabledKey, false);
    buddies().updateCountLabel();
    EXPECT_EQ(label->stringValue(), "当前苍蝇：0 只") << "disabled shows 0 whatever lives";
}

}  // namespace
}  // namespace tallowmere::testing
