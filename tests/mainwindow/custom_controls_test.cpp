#include <gtest/gtest.h>

#include <functional>

#include "mainwindow/app_background_view.h"
#include "mainwindow/apple_settings_card_view.h"
#include "mainwindow/permission_status_dot_view.h"
#include "mainwindow/square_color_well.h"
#include "mainwindow/standard_green_switch.h"
#include "platform/desktop/event.h"
#include "platform/gfx/recording_canvas.h"
#include "platform/ui/window.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere {
namespace {

using platform::Appearance;
using platform::Color;
using platform::ScreenRect;
using platform::View;
using platform::Window;

// Views in a shown window at the screen's bottom-left corner area.
class CustomControlsTest : public testing::DesktopTest {
protected:
    CustomControlsTest() {
        window->setContentView(content);
        window->orderFront();
        window->makeKey();
    }
    template <class T>
    std::shared_ptr<T> place(std::shared_ptr<T> view, platform::Rect frame) {
        view->setFrame(frame);
        content->addSubview(view);
        return view;
    }
    platform::ScreenPoint centreOf(const View& view) { return view.convertToScreen(view.bounds()).center(); }

    std::shared_ptr<Window> window = Window::make(ScreenRect{100, 100, 400, 300}, platform::WindowStyleMask::titled);
    std::shared_ptr<View> content = View::make();
};

TEST_F(CustomControlsTest, ASwitchFlipsOnceForAClickOrTheSpaceBarAndNeverWhenDisabled) {
    auto toggle = place(StandardGreenSwitch::make(), {20, 20, 38, 22});
    int actions = 0;
    toggle->onAction = [&](platform::Control&) { ++actions; };

    mouse.click(centreOf(*toggle));
    EXPECT_TRUE(toggle->isOn());
    EXPECT_EQ(actions, 1);

    ASSERT_TRUE(window->makeFirstResponder(toggle));
    keyboard.press(platform::KeyCode::space, " ");
    EXPECT_FALSE(toggle->isOn());
    EXPECT_EQ(actions, 2);

    toggle->setOn(true);
    EXPECT_EQ(actions, 2) << "setting the state in code sends no action";

    toggle->setEnabled(false);
    mouse.click(centreOf(*toggle));
    EXPECT_TRUE(toggle->isOn());
    EXPECT_EQ(actions, 2);
}

TEST_F(CustomControlsTest, ASwitchKeepsItsTrackCentredAndDimsWhenDisabled) {
    auto toggle = place(StandardGreenSwitch::make(), {0, 0, 60, 44});
    toggle->setOn(true);
    toggle->setEnabled(false);
    platform::RecordingCanvas canvas({60, 44});
    toggle->draw(canvas, toggle->bounds());
    const auto fills = canvas.operationsOf<platform::RecordingCanvas::FillOp>();
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_EQ(fills[0].path.bounds(), (platform::Rect{11, 11, 38, 22})) << "the track, unscaled and centred";
    EXPECT_DOUBLE_EQ(fills[0].state.fillColor.rgba().alpha, 0.45);
    EXPECT_EQ(fills[1].path.bounds(), (platform::Rect{29, 13, 18, 18})) << "the knob at the right when on";
    EXPECT_DOUBLE_EQ(fills[1].state.fillColor.rgba().alpha, 0.72);
}

TEST_F(CustomControlsTest, CardsAndTheBackgroundRecolourInPlaceWithTheAppearance) {
    auto card = place(AppleSettingsCardView::make(), {0, 0, 100, 100});
    auto background = place(AppBackgroundView::make(), {0, 0, 400, 300});
    EXPECT_EQ(card->layer().backgroundColor->rgba(), (Color::sRGB(1, 1, 1).rgba()));
    EXPECT_EQ(card->layer().cornerRadius, 18);

    application.setAppearance(Appearance::dark);
    EXPECT_EQ(card->layer().backgroundColor->rgba(), (Color::sRGB(44 / 255.0, 44 / 255.0, 46 / 255.0).rgba()));
    EXPECT_EQ(background->layer().backgroundColor->rgba(), (Color::sRGB(28 / 255.0, 28 / 255.0, 30 / 255.0).rgba()));
    EXPECT_FALSE(card->layer().shadow.has_value());

    application.setAppearance(Appearance::light);
    EXPECT_EQ(background->layer().backgroundColor->rgba(), (Color::sRGB(242 / 255.0, 242 / 255.0, 247 / 255.0).rgba()));
}

TEST_F(CustomControlsTest, ThePermissionDotBlinksUntilTrustIsGranted) {
    auto dot = PermissionStatusDotView::make();
    EXPECT_FALSE(dot->isAnimating()) << "no timer outside a window";
    place(dot, {10, 10, 28, 28});
    EXPECT_TRUE(dot->isAnimating());
    EXPECT_FALSE(dot->showsYellow());
    advance(1.0);
    EXPECT_TRUE(dot->showsYellow());
    advance(1.0);
    EXPECT_FALSE(dot->showsYellow());

    setup.grantAccessibility();
    advance(1.0);
    EXPECT_FALSE(dot->isAnimating()) << "gone within one tick of trust";
    platform::RecordingCanvas canvas({28, 28});
    dot->draw(canvas, dot->bounds());
    EXPECT_TRUE(canvas.operationsOf<platform::RecordingCanvas::FillOp>().empty());

    auto trustedDot = place(PermissionStatusDotView::make(), {50, 10, 28, 28});
    EXPECT_FALSE(trustedDot->isAnimating()) << "a dot made while trusted runs no timer";
}

TEST_F(CustomControlsTest, ThePermissionDotRestsWhileNobodyCanSeeIt) {
    auto dot = place(PermissionStatusDotView::make(), {10, 10, 28, 28});
    const auto drawn = [&] {
        platform::RecordingCanvas canvas({400, 300});
        window->contentView()->display(canvas);
    };
    struct Case {
        const char* what;
        std::function<void()> hide, show;
    } cases[] = {
        {"its page hidden", [&] { content->setHidden(true); }, [&] { content->setHidden(false); }},
        {"its window closed", [&] { window->orderOut(); }, [&] { window->orderFront(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.hide();
        const bool yellow = dot->showsYellow();
        advance(3.0);
        EXPECT_FALSE(dot->isAnimating()) << "the dot still wakes the program every second";
        EXPECT_EQ(dot->showsYellow(), yellow);
        c.show();
        drawn();
        EXPECT_TRUE(dot->isAnimating()) << "seen again, the dot does not blink";
        advance(1.0);
        EXPECT_NE(dot->showsYellow(), yellow);
    }
}

TEST_F(CustomControlsTest, ADisabledColourWellStaysInactive) {
    auto well = place(SquareColorWell::make(), {100, 100, 28, 28});
    well->setEnabled(false);
    mouse.click(centreOf(*well));
    EXPECT_FALSE(well->isActive());
    well->setEnabled(true);
    mouse.click(centreOf(*well));
    EXPECT_TRUE(well->isActive());
    EXPECT_FALSE(well->isBordered());
}

}  // namespace
}  // namespace tallowmere
