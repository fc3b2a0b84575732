#include "platform/ui/view_event_router.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/button.h"
#include "platform/ui/text_field.h"
#include "platform/ui/tracking_area.h"
#include "support/fixture.h"
#include "view_driver.h"

namespace tallowmere::platform {
namespace {

// A view that writes down what the pointer did to it.
class HoverView : public View {
public:
    static std::shared_ptr<HoverView> make(std::string name, Rect frame, std::vector<std::string>& log,
                                           TrackingOptions options) {
        auto view = std::shared_ptr<HoverView>(new HoverView(std::move(name), frame, log));
        view->addTrackingArea(TrackingArea::make({}, options | TrackingOption::inVisibleRect));
        return view;
    }
    void mouseEntered(const Event&) override { log_.push_back("enter " + name_); }
    void mouseExited(const Event&) override { log_.push_back("exit " + name_); }
    void mouseMoved(const Event&) override { log_.push_back("move " + name_); }
    void mouseDown(const Event&) override { log_.push_back("down " + name_); }
    void mouseDragged(const Event&) override { log_.push_back("drag " + name_); }
    void mouseUp(const Event&) override { log_.push_back("up " + name_); }

private:
    HoverView(std::string name, Rect frame, std::vector<std::string>& log)
        : View(frame), name_(std::move(name)), log_(log) {}
    std::string name_;
    std::vector<std::string>& log_;
};

class ViewEventRouterTest : public testing::TallowmereTest {
protected:
    std::vector<std::string> log;
    std::shared_ptr<View> root = View::make({0, 0, 300, 100});
    testing::ViewDriver driver{root};

    std::vector<std::string> takeLog() { return std::exchange(log, {}); }
};

TEST_F(ViewEventRouterTest, TrackingAreasReportEnteringAndLeavingAsThePointerCrosses) {
    const auto hover = TrackingOption::mouseEnteredAndExited | TrackingOption::activeAlways;
    auto left = HoverView::make("left", {0, 0, 100, 100}, log, hover);
    auto right = HoverView::make("right", {100, 0, 100, 100}, log, hover);
    root->addSubview(left);
    root->addSubview(right);

    struct Step {
        Point pointer;
        std::vector<std::string> expected;
    } steps[] = {
        {{50, 50}, {"enter left"}},
        {{60, 50}, {}},
        {{150, 50}, {"exit left", "enter right"}},
        {{250, 50}, {"exit right"}},
        {{199, 99}, {"enter right"}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE("pointer at " + std::to_string(step.pointer.x) + ", " + std::to_string(step.pointer.y));
        driver.moveTo(step.pointer);
        EXPECT_EQ(takeLog(), step.expected);
    }

    right->setHidden(true);
    driver.router().updateTracking();
    EXPECT_EQ(takeLog(), std::vector<std::string>{"exit right"}) << "a view hidden under a still pointer is left";
    right->setHidden(false);
    driver.router().updateTracking();
    takeLog();
    driver.router().pointerExitedWindow(Event::mouse(EventType::mouseMoved, {400, 50}));
    EXPECT_EQ(takeLog(), std::vector<std::string>{"exit right"});
}

TEST_F(ViewEventRouterTest, TrackingAreaOptionsDecideWhenAreasReport) {
    auto moves = HoverView::make("moves", {0, 0, 100, 100}, log,
                                 TrackingOption::mouseMoved | TrackingOption::activeAlways);
    auto keyOnly = HoverView::make("key", {100, 0, 100, 100}, log,
                                   TrackingOption::mouseEnteredAndExited | TrackingOption::activeInKeyWindow);
    root->addSubview(moves);
    root->addSubview(keyOnly);
    driver.router().setWindowIsKey(false);

    driver.moveTo({10, 10});
    driver.moveTo({20, 10});
    EXPECT_EQ(takeLog(), (std::vector<std::string>{"move moves", "move moves"})) << "moves only, no entering";
    driver.moveTo({150, 10});
    EXPECT_EQ(takeLog(), std::vector<std::string>{}) << "inactive outside the key window";
    driver.router().setWindowIsKey(true);
    EXPECT_EQ(takeLog(), std::vector<std::string>{"enter key"}) << "becoming key activates it under the pointer";
}

TEST_F(ViewEventRouterTest, APressStaysWithTheViewItStartedIn) {
    auto a = HoverView::make("a", {0, 0, 100, 100}, log, TrackingOption::activeAlways);
    root->addSubview(a);
    driver.press({10, 10});
    driver.dragTo({250, 50});
    driver.release({250, 50});
    EXPECT_EQ(takeLog(), (std::vector<std::string>{"down a", "drag a", "up a"}));

    driver.press({250, 50});
    driver.release({10, 10});
    EXPECT_EQ(takeLog(), std::vector<std::string>{}) << "a press that began outside never reaches it";
}

TEST_F(ViewEventRouterTest, ClickingAFieldGivesItTheKeysAndTabMovesThemOn) {
    auto first = TextField::make("one");
    first->setFrame({0, 0, 100, 22});
    auto second = TextField::make("two");
    second->setFrame({0, 30, 100, 22});
    auto button = Button::make("OK");
    button->setFrame({150, 0, 80, 22});
    root->addSubview(first);
    root->addSubview(second);
    root->addSubview(button);

    driver.click(*second);
    EXPECT_EQ(driver.router().firstResponder(), second);
    EXPECT_TRUE(second->isEditing());
    driver.click(*button);
    EXPECT_EQ(driver.router().firstResponder(), second) << "a button does not take the keys";

    driver.key(KeyCode::tab, "\t");
    EXPECT_EQ(driver.router().firstResponder(), first) << "Tab wraps round to the first field";
    EXPECT_FALSE(second->isEditing());
    driver.key(KeyCode::tab, "\t", {ModifierFlags::shift});
    EXPECT_EQ(driver.router().firstResponder(), second);

    second->removeFromSuperview();
    EXPECT_EQ(driver.router().firstResponder(), nullptr) << "a field taken out of the tree gives the keys back";
    EXPECT_FALSE(second->isEditing());
}

TEST_F(ViewEventRouterTest, KeysNoViewTakesPressTheButtonWithThatKeyEquivalent) {
    int okPresses = 0, cancelPresses = 0, savePresses = 0;
    auto ok = Button::make("OK");
    ok->setKeyEquivalent("\r");
    ok->onAction = [&](Control&) { ++okPresses; };
    auto cancel = Button::make("Cancel");
    cancel->setKeyEquivalent("\x1b");
    cancel->onAction = [&](Control&) { ++cancelPresses; };
    auto save = Button::make("Save");
    save->setKeyEquivalent("s");
    save->setKeyEquivalentModifierMask({ModifierFlags::command});
    save->onAction = [&](Control&) { ++savePresses; };
    auto field = TextField::make();
    field->setFrame({0, 0, 100, 22});
    for (auto view : std::vector<std::shared_ptr<View>>{ok, cancel, save, field}) root->addSubview(view);
    driver.click(*field);

    driver.key(KeyCode::returnKey, "\r");
    driver.key(KeyCode::escape, "\x1b");
    driver.key(1, "s", {ModifierFlags::command});
    driver.key(1, "s");
    EXPECT_EQ(okPresses, 1) << "Return in a field without an action presses the default button";
    EXPECT_EQ(cancelPresses, 1);
    EXPECT_EQ(savePresses, 1) << "Command-S, but not a plain s typed into the field";
    EXPECT_EQ(field->stringValue(), "s");

    ok->setEnabled(false);
    EXPECT_FALSE(driver.key(KeyCode::returnKey, "\r")) << "a disabled default button leaves Return unhandled";
    EXPECT_EQ(okPresses, 1);
}

}  // namespace
}  // namespace tallowmere::platform
