#include "toys/fly_simulation_controller.h"

#include <algorithm>

#include "platform/desktop/desktop.h"
#include "platform/runtime/app_context.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/timer.h"
#include "platform/system/user_defaults.h"
#include "platform/ui/button.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/pop_up_button.h"
#include "platform/ui/switch.h"
#include "platform/ui/text_field.h"
#include "platform/ui/window_style.h"
#include "toys/buddy_motion.h"
#include "toys/disco_light_show_controller.h"
#include "toys/toy_random.h"

namespace tallowmere {

using namespace platform;

namespace {

constexpr int buddyTypeCount = 9;
constexpr int buddyStyleCount = 3;
constexpr int activityCount = 3;
constexpr std::array<int, 4> countChoices{1, 2, 3, 5};

UserDefaults& defaults() { return UserDefaults::standard(); }

int storedClamped(const char* key, int low, int high) {
    return static_cast<int>(std::clamp<std::int64_t>(defaults().integer(key), low, high));
}

double uptime() { return AppContext::current().clock().uptime(); }

// A random screen's visible frame; the main screen's, or a stand-in
// rectangle, when there is none to choose from.
ScreenRect randomScreenVisibleFrame() {
    auto& arrangement = DesktopLink::desktop().screens();
    const auto screens = arrangement.screens();
    if (!screens.empty()) {
        return screens[static_cast<std::size_t>(ToyRandom::shared().index(static_cast<int>(screens.size())))]
            ->visibleFrame();
    }
    if (auto main = arrangement.mainScreen()) return main->visibleFrame();
    return noScreenFrame;
}

}  // namespace

FlySimulationController& FlySimulationController::shared() {
    return AppContext::current().shared<FlySimulationController>();
}

FlySimulationController::FlySimulationController() : lastTick_(uptime()) {}

FlySimulationController::~FlySimulationController() {
    if (timer_) timer_->invalidate();
}

int FlySimulationController::selectedActivity() const { return storedClamped(activityKey, 0, activityCount - 1); }
int FlySimulationController::selectedBuddyType() const { return storedClamped(buddyTypeKey, 0, buddyTypeCount - 1); }
int FlySimulationController::selectedBuddyStyle() const {
    return storedClamped(buddyStyleKey, 0, buddyStyleCount - 1);
}

void FlySimulationController::activateSavedStateIfNeeded() {
    if (defaults().boolean(enabledKey) && defaults().integer(countKey) >= 1) start();
    updateCountLabel();
}

void FlySimulationController::start() {
    if (!timer_) {
        rebuildFlies();
        startTimerIfNeeded();
        return;
    }
    const auto stored = static_cast<std::size_t>(storedClamped(countKey, 0, maximumBuddies));
    if (flies_.size() != stored) rebuildFlies();
}

void FlySimulationController::stop() {
    stopTimer();
    orderOutAll();
    updateCountLabel();
}

void FlySimulationController::rebuildFlies() {
    orderOutAll();
    const std::int64_t count = defaults().integer(countKey);
    if (count < 1) {
        updateCountLabel();
        return;
    }
    const auto wanted = std::min<std::int64_t>(count, maximumBuddies);
    for (std::int64_t i = 0; i < wanted; ++i) flies_.push_back(makeFly(std::nullopt, std::nullopt, std::nullopt, 1.0));
    updateCountLabel();
}

void FlySimulationController::startTimerIfNeeded() {
    if (timer_) return;
    lastTick_ = uptime();
    const std::weak_ptr<FlySimulationController> weakSelf = weak_from_this();
    timer_ = Timer::scheduledTimer(frameInterval, true, [weakSelf](Timer&) {
        if (auto self = weakSelf.lock()) self->tick();
    });
}

std::shared_ptr<Fly> FlySimulationController::makeFly(std::optional<int> buddyType, std::optional<int> buddyStyle,
                                                      std::optional<int> activity, double sizeScale) {
    auto& random = ToyRandom::shared();
    const ScreenRect visible = randomScreenVisibleFrame();
    const double side = buddySide * sizeScale;
    const double half = side / 2;
    const ScreenPoint centre = randomPoint(visible.insetBy(half + 8, half + 8), random);

    auto panel = Window::make<Panel>(ScreenRect{centre.x - half, centre.y - half, side, side},
                                     WindowStyleMask{WindowStyleMask::nonactivatingPanel});
    panel->setOpaque(false);
    panel->setBackgroundColor(Color::clear());
    panel->setHasShadow(false);
    panel->setIgnoresMouseEvents(false);
    panel->setLevel(WindowLevel::popUpMenu);
    panel->setCollectionBehavior(WindowCollectionBehavior{WindowCollectionBehavior::canJoinAllSpaces |
                                                          WindowCollectionBehavior::stationary |
                                                          WindowCollectionBehavior::fullScreenAuxiliary});
    panel->isReleasedWhenClosed = false;

    auto view = FlySpriteView::make({0, 0, side, side}, buddyType.value_or(selectedBuddyType()),
                                    buddyStyle.value_or(selectedBuddyStyle()), sizeScale);
    const std::weak_ptr<FlySimulationController> weakSelf = weak_from_this();
    const std::weak_ptr<Panel> weakPanel = panel;
    view->onKilled = [weakSelf, weakPanel] {
        auto self = weakSelf.lock();
        auto killedPanel = weakPanel.lock();
        if (self && killedPanel) self->removeFly(killedPanel.get());
    };
    panel->setContentView(view);
    panel->orderFrontRegardless();

    auto fly = std::make_shared<Fly>();
    fly->window = panel;
    fly->view = view;
    fly->activity = std::clamp(activity.value_or(selectedActivity()), 0, activityCount - 1);
    fly->isGiant = sizeScale > 1.0;
    fly->target = randomTarget(centre, std::nullopt, random);
    return fly;
}

void FlySimulationController::tick() {
    const double now = uptime();
    const auto frame =
        BuddyFrame::make(now, now - lastTick_, DesktopLink::desktop().input().mouseLocation());
    lastTick_ = now;
    auto& random = ToyRandom::shared();
    std::vector<const Panel*> arrived;
    for (const auto& fly : flies_) {
        if (fly->view->isKilled()) continue;
        if (advanceBuddy(*fly, frame, random)) arrived.push_back(fly->window.get());
    }
    for (const Panel* panel : arrived) removeFly(panel);
}

void FlySimulationController::removeFly(const Panel* panel) {
    const auto found =
        std::find_if(flies_.begin(), flies_.end(), [panel](const auto& fly) { return fly->window.get() == panel; });
    if (found == flies_.end()) return;
    const auto fly = *found;
    flies_.erase(found);
    fly->window->orderOut();
    defaults().set(countKey, static_cast<std::int64_t>(flies_.size()));
    if (flies_.empty()) {
        defaults().set(enabledKey, false);
        stopTimer();
    }
    updateCountLabel();
}

void FlySimulationController::summonOneFly(Control& /*sender*/) {
    std::int64_t count = 0;
    if (defaults().boolean(enabledKey)) {
        count = std::max<std::int64_t>(defaults().integer(countKey), 0);
        if (count >= maximumBuddies) return;
    }
    defaults().set(enabledKey, true);
    defaults().set(countKey, count + 1);
    if (!timer_) {
        start();
        return;
    }
    flies_.push_back(makeFly(std::nullopt, std::nullopt, std::nullopt, 1.0));
    updateCountLabel();
}

void FlySimulationController::appendRandomBuddy() {
    auto& random = ToyRandom::shared();
    const int type = random.index(buddyTypeCount);
    const int style = random.index(buddyStyleCount);
    const int activity = random.index(activityCount);
    flies_.push_back(makeFly(type, style, activity, 1.0));
}

void FlySimulationController::summonOneRandomBuddy(Control& /*sender*/) {
    if (flies_.size() >= maximumBuddies) return;
    defaults().set(enabledKey, true);
    appendRandomBuddy();
    defaults().set(countKey, static_cast<std::int64_t>(flies_.size()));
    startTimerIfNeeded();
    updateCountLabel();
}

void FlySimulationController::summonOneGiantBuddy(Control& /*sender*/) {
    const auto giants = std::count_if(flies_.begin(), flies_.end(), [](const auto& fly) { return fly->isGiant; });
    if (giants >= maximumGiants || flies_.size() >= maximumBuddies) return;
    defaults().set(enabledKey, true);
    flies_.push_back(makeFly(std::nullopt, std::nullopt, std::nullopt, 3.0));
    defaults().set(countKey, static_cast<std::int64_t>(flies_.size()));
    startTimerIfNeeded();
    updateCountLabel();
}

void FlySimulationController::summonTenRandomBuddies(MenuItem& /*sender*/) { summonTenRandomBuddies(); }

void FlySimulationController::summonTenRandomBuddies() {
    const int room = maximumBuddies - static_cast<int>(flies_.size());
    if (room < 1) return;
    defaults().set(enabledKey, true);
    for (int i = 0; i < std::min(10, room); ++i) appendRandomBuddy();
    defaults().set(countKey, static_cast<std::int64_t>(flies_.size()));
    startTimerIfNeeded();
    updateCountLabel();
}

void FlySimulationController::sendAllBuddiesHome() {
    if (flies_.empty()) return;
    auto& random = ToyRandom::shared();
    for (const auto& fly : flies_) {
        fly->isGoingHome = true;
        fly->restingUntil = 0;
        fly->view->setAlarmed(false);
        fly->target = homeCorner(fly->window->frame().center(), random);
    }
    startTimerIfNeeded();
}

void FlySimulationController::dismissAllBuddiesImmediately() {
    defaults().set(enabledKey, false);
    defaults().set(countKey, std::int64_t{0});
    stopTimer();
    orderOutAll();
    updateCountLabel();
}

void FlySimulationController::sendAllFliesAway(Control& /*sender*/) {
    defaults().set(enabledKey, false);
    defaults().set(countKey, std::int64_t{0});
    stop();
}

void FlySimulationController::toggleEnabled(Switch& sender) {
    const bool on = sender.isOn();
    defaults().set(enabledKey, on);
    if (on) start();
    else stop();
}

void FlySimulationController::changeCount(PopUpButton& sender) {
    const auto index = static_cast<std::size_t>(
        std::clamp<std::int64_t>(sender.indexOfSelectedItem() ? static_cast<std::int64_t>(*sender.indexOfSelectedItem()) : 0,
                                 0, static_cast<std::int64_t>(countChoices.size() - 1)));
    defaults().set(countKey, static_cast<std::int64_t>(countChoices[index]));
    if (defaults().boolean(enabledKey)) rebuildFlies();
}

void FlySimulationController::changeActivity(PopUpButton& sender) {
    const auto index = sender.indexOfSelectedItem();
    defaults().set(activityKey, static_cast<std::int64_t>(index ? *index : 0));
}

void FlySimulationController::changePersonality(Control& sender) {
    defaults().set(activityKey, static_cast<std::int64_t>(std::clamp(sender.tag(), 0, activityCount - 1)));
}

void FlySimulationController::changeBuddyType(Control& sender) {
    const int type = std::clamp(sender.tag(), 0, buddyTypeCount - 1);
    defaults().set(buddyTypeKey, static_cast<std::int64_t>(type));
    setBuddyTypeButtonStates(type);
    if (sender.tag() >= FlySpriteView::discoBallType) DiscoLightShowController::shared().presentLauncher();
}

void FlySimulationController::changeBuddyStyle(Control& sender) {
    defaults().set(buddyStyleKey, static_cast<std::int64_t>(std::clamp(sender.tag(), 0, buddyStyleCount - 1)));
}

void FlySimulationController::bindCountLabel(const std::shared_ptr<TextField>& label, std::string prefix) {
    countLabel_ = label;
    countLabelPrefix_ = std::move(prefix);
    updateCountLabel();
}

void FlySimulationController::bindBuddyTypeButtons(std::vector<std::shared_ptr<Button>> buttons) {
    buddyTypeButtons_.assign(buttons.begin(), buttons.end());
    setBuddyTypeButtonStates(selectedBuddyType());
}

void FlySimulationController::setBuddyTypeButtonStates(int type) {
    for (const auto& weakButton : buddyTypeButtons_) {
        if (auto button = weakButton.lock()) button->setState(button->tag() == type ? ControlState::on : ControlState::off);
    }
}

std::string FlySimulationController::countLabelText() const {
    const std::size_t shown = defaults().boolean(enabledKey) ? flies_.size() : 0;
    return "：" + std::to_string(shown) + " 只";
}

void FlySimulationController::updateCountLabel() {
    if (auto label = countLabel_.lock()) label->setStringValue(countLabelPrefix_ + countLabelText());
}

void FlySimulationController::stopTimer() {
    if (timer_) timer_->invalidate();
    timer_.reset();
}

void FlySimulationController::orderOutAll() {
    auto flies = std::move(flies_);
    flies_.clear();
    for (const auto& fly : flies) fly->window->orderOut();
}

}  // namespace tallowmere
