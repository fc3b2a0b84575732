#include "platform/ui/button.h"

#include <gtest/gtest.h>

#include "platform/gfx/recording_canvas.h"
#include "platform/gfx/text_measurer.h"
#include "support/fixture.h"
#include "view_driver.h"

namespace tallowmere::platform {
namespace {

class ButtonTest : public testing::TallowmereTest {
protected:
    std::shared_ptr<View> root = View::make({0, 0, 300, 100});
    testing::ViewDriver driver{root};

    template <class T>
    std::shared_ptr<T> place(std::shared_ptr<T> view, Rect frame) {
        view->setFrame(frame);
        root->addSubview(view);
        return view;
    }
};

TEST_F(ButtonTest, AClickRunsTheActionOnceAndADisabledButtonIgnoresIt) {
    int presses = 0;
    auto button = place(Button::make("Save"), {10, 10, 80, 22});
    button->onAction = [&](Control& sender) {
        EXPECT_EQ(&sender, button.get());
        ++presses;
    };

    driver.click(*button);
    EXPECT_EQ(presses, 1);

    driver.press(driver.centerOf(*button));
    EXPECT_TRUE(button->isHighlighted());
    driver.dragTo({250, 90});
    EXPECT_FALSE(button->isHighlighted()) << "dragged off, it lets go of its highlight";
    driver.release({250, 90});
    EXPECT_EQ(presses, 1) << "released outside: no click";

    button->setEnabled(false);
    driver.click(*button);
    button->performClick();
    EXPECT_EQ(presses, 1);
}

TEST_F(ButtonTest, ClicksAdvanceTheStateByButtonType) {
    struct Case {
        const char* what;
        ButtonType type;
        bool allowsMixed;
        ControlState start;
        ControlState afterClick;
    } cases[] = {
        {"push button keeps its state", ButtonType::momentaryPushIn, false, ControlState::off, ControlState::off},
        {"check box turns on", ButtonType::switchCheckBox, false, ControlState::off, ControlState::on},
        {"check box turns off", ButtonType::switchCheckBox, false, ControlState::on, ControlState::off},
        {"mixed check box turns on", ButtonType::switchCheckBox, false, ControlState::mixed, ControlState::on},
        {"with mixed allowed, on goes to mixed", ButtonType::switchCheckBox, true, ControlState::on, ControlState::mixed},
        {"with mixed allowed, mixed goes off", ButtonType::switchCheckBox, true, ControlState::mixed, ControlState::off},
        {"push on push off", ButtonType::pushOnPushOff, false, ControlState::off, ControlState::on},
        {"an on radio stays on", ButtonType::radio, false, ControlState::on, ControlState::on},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto button = Button::make("x");
        button->setButtonType(c.type);
        button->allowsMixedState = c.allowsMixed;
        button->setState(c.start);
        button->performClick();
        EXPECT_EQ(button->state(), c.afterClick);
    }
}

TEST_F(ButtonTest, ChoosingARadioTurnsItsSiblingsOff) {
    auto calm = place(Button::makeRadio("Calm", true), {0, 0, 80, 20});
    auto timid = place(Button::makeRadio("Timid"), {0, 30, 80, 20});
    auto check = place(Button::makeCheckBox("Other", true), {0, 60, 80, 20});
    int actions = 0;
    timid->onAction = [&](Control&) { ++actions; };

    driver.click(*timid);
    EXPECT_TRUE(timid->isOn());
    EXPECT_FALSE(calm->isOn());
    EXPECT_TRUE(check->isOn()) << "check boxes are not part of the radio group";
    EXPECT_EQ(actions, 1);
}

TEST_F(ButtonTest, DrawsABezelAndItsTitleOrACheckMark) {
    auto push = place(Button::make("Save"), {0, 0, 80, 22});
    auto check = place(Button::makeCheckBox(".md", true), {100, 0, 80, 22});
    RecordingCanvas canvas({300, 100});
    root->display(canvas);
    EXPECT_EQ(canvas.drawnTexts(), (std::vector<std::string>{"Save", ".md"}));
    EXPECT_GE(canvas.operationsOf<RecordingCanvas::StrokeOp>().size(), 2u) << "bezel outline and check mark";

    EXPECT_GT(push->intrinsicContentSize().width, check->intrinsicContentSize().width - 30);
    EXPECT_EQ(push->intrinsicContentSize().height, 22);
}

TEST_F(ButtonTest, AtItsNarrowestWidthTheTitleStillShowsWhole) {
    struct Case {
        const char* what;
        std::shared_ptr<Button> button;
        bool givesUpMargins;
        // A check box's mark sits a point in; its title may run that point
        // past the frame, where nothing clips it.
        double overhang;
    } cases[] = {
        {"regular push button", Button::make("Go to Settings"), true, 0},
        {"large push button", Button::make("Allow Accessibility"), true, 0},
        {"borderless button", Button::make("Enable Finder Extension"), true, 0},
        {"check box", Button::makeCheckBox("Enhanced Chrome Reading"), false, 1},
    };
    cases[1].button->setControlSize(ControlSize::large);
    cases[2].button->setBordered(false);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const double narrowest = c.button->narrowestWidth();
        EXPECT_EQ(narrowest < c.button->intrinsicContentSize().width, c.givesUpMargins);
        place(c.button, {0, 0, narrowest, 22});
        RecordingCanvas canvas({300, 100});
        c.button->display(canvas);
        const auto texts = canvas.operationsOf<RecordingCanvas::TextOp>();
        ASSERT_EQ(texts.size(), 1u);
        const double width = TextMeasurer::shared().measure(texts[0].text).width;
        EXPECT_GE(texts[0].origin.x, -0.01);
        EXPECT_LE(texts[0].origin.x + width, narrowest + c.overhang + 0.01);
        c.button->removeFromSuperview();
    }
}

}  // namespace
}  // namespace tallowmere::platform
