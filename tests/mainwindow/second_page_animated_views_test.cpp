// Also writes pictures a person can look at, under the build folder:
//   renderings/mainwindow/disco_lamp_rest.png        the lamp at rest
//   renderings/mainwindow/disco_lamp_spinning.png    the lamp at speed
//   renderings/mainwindow/disco_light_rest.png       the full-screen light, ball at rest
//   renderings/mainwindow/disco_light_speed.png      the same at top speed
#include <cmath>
#include <filesystem>

#include "mainwindow/disco_lamp_motion.h"
#include "mainwindow/disco_light_overlay_view.h"
#include "mainwindow/inverted_disco_lamp_view.h"
#include "mainwindow/second_page_breathing_background_view.h"
#include "mainwindow/second_page_gradient.h"
#include "mainwindow/serious_business_tools_view.h"
#include "platform/desktop/screen_arrangement.h"
#include "platform/gfx/cairo_canvas.h"
#include "platform/gfx/png.h"
#include "platform/gfx/recording_canvas.h"
#include "platform/ui/button.h"
#include "platform/ui/label.h"
#include "platform/ui/layer_animation_ticker.h"
#include "platform/ui/window.h"
#include "support/desktop/desktop_fixture.h"
#include "toys/scientific_decision_controller.h"

namespace tallowmere::testing {
namespace {

using platform::Color;
using platform::RecordingCanvas;
using platform::SystemColor;

const std::filesystem::path renderings = std::filesystem::path(TALLOWMERE_BINARY_DIR) / "renderings" / "mainwindow";

void writeView(platform::View& view, const char* name, double scale = 2) {
    std::filesystem::create_directories(renderings);
    const auto size = view.bounds().size;
    auto made = platform::CairoCanvas::make(size, scale);
    ASSERT_TRUE(made.ok());
    auto& canvas = **made;
    canvas.setFillColor(Color::calibratedRGB(0.93, 0.94, 0.97));
    canvas.fillRect({0, 0, size.width, size.height});
    canvas.translate(-view.frame().minX(), -view.frame().minY());
    view.display(canvas);
    ASSERT_TRUE(platform::writePng(canvas.bitmap(), renderings / name).ok());
}

// --- The lamp's spin -------------------------------------------------------------

TEST(DiscoLampMotionTest, SpinsUpAndCoastsByAFractionOfTheGapEachTick) {
    const double dt = 1.0 / 30;
    struct Case {
        int ticks;
        double spinningUp;  // from rest, switched on
        double coasting;    // from top speed, switched off
    } cases[] = {
        {1, 2.8 * (1 - std::pow(1 - 2.7 * dt, 1)), 2.8 * std::pow(1 - 2.2 * dt, 1)},
        {10, 2.8 * (1 - std::pow(1 - 2.7 * dt, 10)), 2.8 * std::pow(1 - 2.2 * dt, 10)},
        {30, 2.8 * (1 - std::pow(1 - 2.7 * dt, 30)), 2.8 * std::pow(1 - 2.2 * dt, 30)},
        {60, 2.8 * (1 - std::pow(1 - 2.7 * dt, 60)), 2.8 * std::pow(1 - 2.2 * dt, 60)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ticks);
        DiscoLampMotion up{.isSpinning = true};
        DiscoLampMotion down{.angularVelocity = 2.8};
        for (int i = 0; i < c.ticks; ++i) {
            EXPECT_TRUE(up.advance(dt));
            EXPECT_TRUE(down.advance(dt));
        }
        EXPECT_NEAR(up.angularVelocity, c.spinningUp, 1e-9);
        EXPECT_NEAR(down.angularVelocity, c.coasting, 1e-9);
        EXPECT_LT(up.angularVelocity, 2.8) << "approaches the top speed without passing it";
    }
}

TEST(DiscoLampMotionTest, StopsOnTheFirstTickBelowTheRestSpeedAndClampsAStalledTick) {
    // Coasting from top speed: the first tick whose speed falls below 0.025
    // is the last.
    int expectedLast = 0;
    for (double v = 2.8; v >= 0.025; v *= 1 - 2.2 / 30) ++expectedLast;
    DiscoLampMotion motion{.angularVelocity = 2.8};
    int ticks = 1;
    while (motion.advance(1.0 / 30)) ++ticks;
    EXPECT_EQ(ticks, expectedLast);
    EXPECT_EQ(motion.angularVelocity, 0);
    EXPECT_GT(motion.rotation, 0);

    struct Case {
        double dt;
        double counted;
    } stalls[] = {{0.5, 0.08}, {0.08, 0.08}, {-1, 0}, {NAN, 0}, {INFINITY, 0}};
    for (const auto& stall : stalls) {
        SCOPED_TRACE(stall.dt);
        DiscoLampMotion stalled{.angularVelocity = 1, .isSpinning = true};
        DiscoLampMotion expected = stalled;
        stalled.advance(stall.dt);
        expected.advance(stall.counted);
        EXPECT_DOUBLE_EQ(stalled.angularVelocity, expected.angularVelocity);
        EXPECT_DOUBLE_EQ(stalled.rotation, expected.rotation);
    }
}

TEST(DiscoLampDrawingTest, TheCentreBulbStepsThroughTheColoursEveryHalfRadian) {
    struct Case {
        double rotation;
        std::size_t index;
    } cases[] = {{0, 0}, {0.49, 0}, {0.5, 1}, {1.2, 2}, {3.99, 7}, {4.0, 0}, {-0.6, 1}, {NAN, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rotation);
        EXPECT_EQ(InvertedDiscoLampView::centreBulbColorIndex(c.rotation), c.index);
    }
}

// --- The breathing background ------------------------------------------------------

class BreathingBackgroundTest : public DesktopTest {};

TEST_F(BreathingBackgroundTest, LampSpeedsMapToCycleFactorsAndSmallChangesAreIgnored) {
    struct Case {
        double speed;
        float factor;
    } cases[] = {{-1, 0.65f}, {0, 0.65f}, {0.5, 5.825f}, {1, 11.0f}, {2, 11.0f}, {NAN, 0.65f}, {INFINITY, 0.65f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.speed);
        auto background = SecondPageBreathingBackgroundView::make({0, 0, 400, 300});
        EXPECT_EQ(background->colorSpeed(), 1.0f) << "until the lamp first reports";
        background->setDiscoSpeed(c.speed);
        EXPECT_FLOAT_EQ(background->colorSpeed(), c.factor);
        EXPECT_FLOAT_EQ(background->layer().gradient(SecondPageBreathingBackgroundView::gradientName)->timing.speed,
                        c.factor);
    }

    auto background = SecondPageBreathingBackgroundView::make({0, 0, 400, 300});
    background->setDiscoSpeed(0.5);
    const auto timing = background->layer().gradient(SecondPageBreathingBackgroundView::gradientName)->timing;
    // 0.5 + 0.003 moves the factor by 0.031; + 0.004 by 0.041.
    background->setDiscoSpeed(0.503);
    EXPECT_FLOAT_EQ(background->colorSpeed(), 5.825f) << "inside the dead band";
    EXPECT_EQ(background->layer().gradient(SecondPageBreathingBackgroundView::gradientName)->timing, timing);
    background->setDiscoSpeed(0.504);
    EXPECT_NEAR(background->colorSpeed(), 5.8664f, 1e-4);
}

TEST_F(BreathingBackgroundTest, ColoursGoOnWithoutAJumpWhenTheSpeedChanges) {
    auto background = SecondPageBreathingBackgroundView::make({0, 0, 400, 300});
    const auto colours = [&] {
        const auto* gradient = background->layer().gradient(SecondPageBreathingBackgroundView::gradientName);
        return gradient->presentation(context().clock().uptime()).colors;
    };
    const auto expectClose = [](const std::vector<Color>& a, const std::vector<Color>& b) {
        ASSERT_EQ(a.size(), 2u);
        ASSERT_EQ(b.size(), 2u);
        for (std::size_t i = 0; i < 2; ++i) {
            const auto x = a[i].rgba(), y = b[i].rgba();
            // Within one level of eight bits.
            EXPECT_NEAR(x.red, y.red, 1.0 / 255);
            EXPECT_NEAR(x.green, y.green, 1.0 / 255);
            EXPECT_NEAR(x.blue, y.blue, 1.0 / 255);
            EXPECT_NEAR(x.alpha, y.alpha, 1.0 / 255);
        }
    };
    for (double speed : {1.0, 0.0, 0.37, 0.9}) {
        SCOPED_TRACE(speed);
        advance(2.7);
        const auto before = colours();
        background->setDiscoSpeed(speed);
        expectClose(before, colours());
    }
    // At factor 11 a whole 14 s cycle passes in about 1.27 s.
    background->setDiscoSpeed(1);
    const auto start = colours();
    advance(14.0 / 11);
    expectClose(start, colours());
}

TEST_F(BreathingBackgroundTest, CyclesThroughThePaletteOnItsKeyTimes) {
    auto background = SecondPageBreathingBackgroundView::make({0, 0, 400, 300});
    const auto palette = SecondPageBreathingBackgroundView::palette();
    const auto* gradient = background->layer().gradient(SecondPageBreathingBackgroundView::gradientName);
    ASSERT_NE(gradient, nullptr);
    EXPECT_EQ(gradient->startPoint, (platform::Point{0, 1}));
    EXPECT_EQ(gradient->endPoint, (platform::Point{1, 0}));
    const double begin = context().clock().uptime();
    struct Case {
        double at;
        std::size_t entry;
    } cases[] = {{0, 0}, {0.33 * 14, 1}, {0.66 * 14, 2}, {14, 0}, {14 + 0.33 * 14, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.at);
        const auto shown = gradient->presentation(begin + c.at).colors;
        EXPECT_NEAR(shown[0].rgba().alpha, palette[c.entry][0].rgba().alpha, 1e-6);
        EXPECT_NEAR(shown[0].rgba().blue, palette[c.entry][0].rgba().blue, 1e-6);
        EXPECT_NEAR(shown[1].rgba().red, palette[c.entry][1].rgba().red, 1e-6);
    }
}

// --- The card gradient --------------------------------------------------------------

TEST_F(BreathingBackgroundTest, ASecondCardGradientReplacesTheFirst) {
    auto card = platform::View::make({0, 0, 300, 120});
    card->mutableLayer().cornerRadius = 18;
    card->mutableLayer().backgroundColor = Color::system(SystemColor::controlBackground);
    const auto blue = Color::system(SystemColor::blue).withAlphaComponent(0.2);
    const auto cyan = Color::system(SystemColor::cyan).withAlphaComponent(0.08);
    applySecondPageGradient(*card, Color::system(SystemColor::red), Color::system(SystemColor::green));
    applySecondPageGradient(*card, blue, cyan);
    ASSERT_EQ(card->layer().gradients.size(), 1u);
    const auto& gradient = card->layer().gradients[0];
    EXPECT_EQ(gradient.name, "secondPageCardGradient");
    EXPECT_EQ(gradient.colors, (std::vector<Color>{blue, cyan}));
    EXPECT_EQ(gradient.locations, (std::vector<double>{0, 1}));
    EXPECT_EQ(gradient.startPoint, (platform::Point{0, 1})) << "from the top-left corner";
    EXPECT_EQ(gradient.endPoint, (platform::Point{1, 0}));
    EXPECT_EQ(gradient.cornerRadius, 18);

    // Drawn beneath the card's other gradients and its content.
    platform::LayerGradient other;
    other.name = "other";
    other.colors = {Color::white()};
    card->mutableLayer().gradients.push_back(other);
    applySecondPageGradient(*card, cyan, blue);
    ASSERT_EQ(card->layer().gradients.size(), 2u);
    EXPECT_EQ(card->layer().gradients[0].name, "secondPageCardGradient");
    EXPECT_EQ(card->layer().gradients[0].colors, (std::vector<Color>{cyan, blue}));
}

// --- The lamp in a window ------------------------------------------------------------

class DiscoLampTest : public DesktopTest {
protected:
    DiscoLampTest() {
        window = platform::Window::make(platform::ScreenRect{200, 200, 400, 260},
                                        platform::WindowStyleMask{platform::WindowStyleMask::titled});
        content = platform::View::make({0, 0, 400, 260});
        background = SecondPageBreathingBackgroundView::make({0, 0, 400, 260});
        content->addSubview(background);
        lamp = InvertedDiscoLampView::make({100, 40, 200, 180});
        std::weak_ptr<SecondPageBreathingBackgroundView> weakBackground = background;
        lamp->onSpeedChanged = [weakBackground](double speed) {
            if (auto shown = weakBackground.lock()) shown->setDiscoSpeed(speed);
        };
        content->addSubview(lamp);
        fullScreen = platform::Button::make("全屏");
        fullScreen->setButtonType(platform::ButtonType::pushOnPushOff);
        fullScreen->setFrame({10, 10, 72, 28});
        fullScreen->onAction = [this](platform::Control&) { lamp->toggleFullScreen(*fullScreen); };
        content->addSubview(fullScreen);
        window->setContentView(content);
        window->makeKeyAndOrderFront();
        runUntilIdle();
    }
    platform::ScreenPoint lampPoint() const { return lamp->convertToScreen(platform::Point{100, 100}); }
    // `n` ticks of the lamp's 30 Hz timer.
    void ticks(int n) { advance(n / 30.0 + 1.0 / 120); }

    std::shared_ptr<platform::Window> window;
    std::shared_ptr<platform::View> content;
    std::shared_ptr<SecondPageBreathingBackgroundView> background;
    std::shared_ptr<InvertedDiscoLampView> lamp;
    std::shared_ptr<platform::Button> fullScreen;
};

TEST_F(DiscoLampTest, AClickSpinsTheBallAndSpeedsTheBackgroundAndTheNextLetsItCoastToRest) {
    EXPECT_EQ(lamp->toolTip(), "点击旋转灯球");
    EXPECT_EQ(lamp->cursor(), platform::CursorShape::pointingHand);
    EXPECT_FALSE(lamp->isTicking()) << "at rest the lamp costs nothing";

    mouse.click(lampPoint());
    EXPECT_TRUE(lamp->isSpinning());
    ticks(10);
    EXPECT_NEAR(lamp->motion().angularVelocity, 2.8 * (1 - std::pow(1 - 2.7 / 30, 10)), 1e-6);
    EXPECT_FLOAT_EQ(background->colorSpeed(),
                    SecondPageBreathingBackgroundView::colorSpeedFactor(lamp->motion().normalizedSpeed()));
    EXPECT_GT(background->colorSpeed(), 6.0f);
    ticks(120);
    EXPECT_NEAR(background->colorSpeed(), 11.0f, 0.05f);

    mouse.click(lampPoint());
    EXPECT_FALSE(lamp->isSpinning());
    EXPECT_TRUE(lamp->isTicking()) << "coasting";
    ticks(30 * 6);
    EXPECT_FALSE(lamp->isTicking());
    EXPECT_EQ(lamp->motion().angularVelocity, 0);
    EXPECT_FLOAT_EQ(background->colorSpeed(), 0.65f) << "the last tick reports the ball at rest";
    const double rotation = lamp->motion().rotation;
    ticks(30);
    EXPECT_EQ(lamp->motion().rotation, rotation);
}

TEST_F(DiscoLampTest, FullScreenLightCoversTheScreenLetsClicksThroughAndLeavesTheSpinWhenOff) {
    mouse.click(fullScreen->convertToScreen(platform::Point{36, 14}));
    ASSERT_TRUE(fullScreen->isOn());
    EXPECT_TRUE(lamp->isSpinning()) << "the light starts a resting ball";
    auto panel = lamp->fullScreenLightWindow();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->frame(), setup.primaryScreen()->frame());
    EXPECT_EQ(panel->level(), 1000);
    EXPECT_TRUE(panel->ignoresMouseEvents());
    EXPECT_FALSE(panel->isOpaque());
    EXPECT_TRUE(panel->collectionBehavior().contains(platform::WindowCollectionBehavior::canJoinAllSpaces |
                                                     platform::WindowCollectionBehavior::stationary |
                                                     platform::WindowCollectionBehavior::fullScreenAuxiliary));
    auto overlay = std::dynamic_pointer_cast<DiscoLightOverlayView>(panel->contentView());
    ASSERT_NE(overlay, nullptr);
    // The beams start at the ball's centre on screen.
    const auto ball = lamp->convertToScreen(platform::Point{100, 90 - InvertedDiscoLampView::ballDrop});
    EXPECT_NEAR(overlay->sourcePoint().x, ball.x, 1e-9);
    EXPECT_NEAR(overlay->sourcePoint().y, ball.y, 1e-9);
    ticks(30);
    EXPECT_EQ(overlay->rotation(), lamp->motion().rotation);
    EXPECT_EQ(overlay->intensity(), lamp->motion().normalizedSpeed());

    // A click on the lamp goes through the light and stops the spin.
    mouse.click(lampPoint());
    EXPECT_FALSE(lamp->isSpinning());
    EXPECT_EQ(overlay->hitTest({10, 10}), nullptr);

    mouse.click(lampPoint());
    mouse.click(fullScreen->convertToScreen(platform::Point{36, 14}));
    EXPECT_FALSE(fullScreen->isOn());
    EXPECT_EQ(lamp->fullScreenLightWindow(), nullptr);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_TRUE(lamp->isSpinning()) << "switching the light off leaves the spin";
}

TEST_F(DiscoLampTest, WithoutAScreenThereIsNoLightAndTheBallSpinsOn) {
    auto& screens = desktop.screens();
    for (const auto& screen : screens.screens()) screens.removeScreen(screen);
    fullScreen->setState(platform::ControlState::on);
    lamp->toggleFullScreen(*fullScreen);
    EXPECT_EQ(lamp->fullScreenLightWindow(), nullptr);
    EXPECT_TRUE(lamp->isSpinning());
    ticks(3);
    EXPECT_GT(lamp->motion().angularVelocity, 0);
}

TEST_F(DiscoLampTest, OutsideAWindowTheLightWaitsAndAGoneLampTakesItsLightAway) {
    fullScreen->setState(platform::ControlState::on);
    lamp->toggleFullScreen(*fullScreen);
    auto panel = lamp->fullScreenLightWindow();
    ASSERT_NE(panel, nullptr);
    auto overlay = std::dynamic_pointer_cast<DiscoLightOverlayView>(panel->contentView());
    ticks(5);
    lamp->removeFromSuperview();
    const double rotation = overlay->rotation();
    ticks(5);
    EXPECT_EQ(overlay->rotation(), rotation) << "not updated outside a window";
    EXPECT_GT(lamp->motion().rotation, rotation);
    content->addSubview(lamp);
    EXPECT_EQ(overlay->rotation(), lamp->motion().rotation) << "back in the window, the light follows at once";

    lamp->removeFromSuperview();
    lamp.reset();
    EXPECT_FALSE(panel->isVisible());
    content->setHidden(true);  // the breathing background asks for no frames then
    ticks(3);
    EXPECT_EQ(context().mainQueue().pendingCount(), 0u) << "a gone lamp leaves no timer behind";
}

TEST_F(DiscoLampTest, WithTheLampAtRestAndThePageHiddenNothingIsScheduled) {
    runUntilIdle();
    EXPECT_TRUE(platform::LayerAnimationTicker::shared().isTicking()) << "the shown background breathes";
    content->setHidden(true);
    advance(1);
    EXPECT_EQ(context().mainQueue().pendingCount(), 0u);
    content->setHidden(false);
    window->close();
    advance(1);
    EXPECT_EQ(context().mainQueue().pendingCount(), 0u);
}

TEST_F(DiscoLampTest, DrawsTwentyEightGlowingBulbsInSquashedRings) {
    RecordingCanvas canvas({200, 180});
    lamp->draw(canvas, lamp->bounds());
    const auto fills = canvas.operationsOf<RecordingCanvas::FillOp>();
    std::vector<RecordingCanvas::FillOp> glowing;
    for (const auto& fill : fills)
        if (fill.state.shadow) glowing.push_back(fill);
    ASSERT_EQ(glowing.size(), 28u) << "6 + 9 + 12 ring bulbs and the centre bulb";
    const auto colors = InvertedDiscoLampView::lampColors();
    for (const auto& bulb : glowing) {
        EXPECT_EQ(bulb.state.shadow->blurRadius, 8);
        EXPECT_NEAR(bulb.state.shadow->color.rgba().alpha, 0.85, 1e-9);
    }
    // Ring 1's first bulb: angle 0.42 at rest, 0.62 of the radius, y squashed by 0.78.
    const double radius = 0.34 * 180;
    const platform::Point centre{100, 90 - 16};
    const auto bulbCentre = glowing[6].path.bounds().center();
    EXPECT_NEAR(bulbCentre.x, centre.x + 0.62 * radius * std::cos(0.42), 1e-6);
    EXPECT_NEAR(bulbCentre.y, centre.y + 0.62 * radius * std::sin(0.42) * 0.78, 1e-6);
    EXPECT_EQ(glowing[6].state.fillColor, colors[6]);
    EXPECT_EQ(glowing[15].path.bounds().size.width, 12) << "the outer ring's bulbs are smaller";
    EXPECT_EQ(glowing[27].path.bounds().size.width, 18);

    writeView(*lamp, "disco_lamp_rest.png");
    mouse.click(lampPoint());
    ticks(40);
    writeView(*lamp, "disco_lamp_spinning.png");
}

// --- The light's beams -----------------------------------------------------------------

class DiscoLightTest : public DesktopTest {};

TEST_F(DiscoLightTest, EighteenBeamsTurnAtAFractionOfTheBallAndKeepTheirRestingStrength) {
    auto overlay = DiscoLightOverlayView::make({0, 0, 1440, 900});
    struct Case {
        double rotation, intensity, strength;
    } cases[] = {{0, 0, 0.38}, {1.5, 1, 1}, {2.0, 0.5, 0.69}, {0, 7, 1}, {0, -1, 0.38}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.intensity);
        overlay->update({700, 500}, c.rotation, c.intensity);
        RecordingCanvas canvas({1440, 900});
        overlay->draw(canvas, overlay->bounds());
        const auto beams = canvas.operationsOf<RecordingCanvas::LinearGradientOp>();
        ASSERT_EQ(beams.size(), 18u);
        const auto colors = DiscoLightOverlayView::rayColors();
        for (std::size_t i = 0; i < beams.size(); ++i) {
            const auto& stops = beams[i].gradient.stops();
            EXPECT_NEAR(stops.front().color.rgba().alpha, 0.3 * c.strength, 1e-9);
            EXPECT_NEAR(stops.back().color.rgba().alpha, 0.035 * c.strength, 1e-9);
            EXPECT_EQ(beams[i].start, (platform::Point{700, 500}));
            const double theta = 2 * M_PI * double(i) / 18 + 0.72 * c.rotation;
            EXPECT_NEAR(std::atan2(beams[i].end.y - 500, beams[i].end.x - 700), std::remainder(theta, 2 * M_PI), 1e-9);
            EXPECT_EQ(stops.front().color.rgba().red, colors[i % 8].rgba().red);
        }
    }
}

TEST_F(DiscoLightTest, LightFramesAtRestAndAtSpeed) {
    const auto frame = setup.primaryScreen()->frame();
    auto overlay = DiscoLightOverlayView::make({0, 0, frame.width(), frame.height()});
    overlay->update({520, 610}, 0, 0);
    writeView(*overlay, "disco_light_rest.png", 1);
    overlay->update({520, 610}, 2.4, 1);
    writeView(*overlay, "disco_light_speed.png", 1);
}

// --- The decision card ---------------------------------------------------------------------

TEST_F(DiscoLightTest, TheDecisionCardOpensTheDecisionTool) {
    auto window = platform::Window::make(platform::ScreenRect{300, 300, 402, 150},
                                         platform::WindowStyleMask{platform::WindowStyleMask::titled});
    auto tools = SeriousBusinessToolsView::make({0, 0, 402, 150});
    window->setContentView(tools);
    window->orderFront();
    tools->layoutSubtreeIfNeeded();
    EXPECT_EQ(tools->titleLabel()->stringValue(), "塔洛梅科学决策机制高手");
    EXPECT_EQ(tools->openButton()->title(), "开始科学决策");
    ASSERT_NE(tools->card()->layer().gradient("secondPageCardGradient"), nullptr);
    EXPECT_EQ(tools->card()->layer().cornerRadius, 18);
    EXPECT_EQ(tools->descriptionLabel()->frame().width(), 402 - 40) << "the text takes the card's width";

    const auto button = tools->openButton();
    mouse.click(button->convertToScreen(platform::Point{button->bounds().midX(), button->bounds().midY()}));
    auto decision = ScientificDecisionController::shared().window();
    ASSERT_NE(decision, nullptr);
    EXPECT_TRUE(decision->isVisible());
    EXPECT_TRUE(decision->isKeyWindow());
}

}  // namespace
}  // namespace tallowmere::testing
