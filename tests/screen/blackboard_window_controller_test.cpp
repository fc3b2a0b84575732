// Also writes pictures a person can look at, under the build folder:
//   renderings/screen/blackboard_editor.png     the editor
//   renderings/screen/blackboard_sign.png       a preset sign
//   renderings/screen/blackboard_gradient.png   a sign on the random gradient
#include "screen/blackboard_window_controller.h"

#include <filesystem>

#include "platform/gfx/recording_canvas.h"
#include "platform/gfx/text_measurer.h"
#include "platform/system/user_defaults.h"
#include "platform/ui/button.h"
#include "platform/ui/color_well.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/event_monitors.h"
#include "platform/ui/menu_item.h"
#include "platform/ui/screen_snapshot.h"
#include "screen/blackboard_sign_fitting.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere::testing {
namespace {

namespace KeyCode = platform::KeyCode;
using platform::Color;
using platform::UserDefaults;
using Board = BlackboardWindowController;

const std::filesystem::path renderings = std::filesystem::path(TALLOWMERE_BINARY_DIR) / "renderings" / "screen";

class BlackboardTest : public DesktopTest {
protected:
    // A controller made afresh, as at the program's next start.
    std::shared_ptr<Board> fresh() { return std::make_shared<Board>(); }
    Board& board() { return Board::shared(); }
    std::size_t beeps() const {
        const auto& played = desktop.sounds().played();
        return static_cast<std::size_t>(std::count(played.begin(), played.end(), "beep"));
    }
    void showPreset(int tag) {
        auto item = platform::MenuItem::make("preset");
        item->setTag(tag);
        board().showPresetFromMenu(*item);
    }
    UserDefaults& defaults() { return UserDefaults::standard(); }
};

TEST_F(BlackboardTest, TheEditorChecksTextAndSizeBeforeShowing) {
    struct Case {
        const char* text;
        const char* size;
        bool shown;
        bool focusesSize;
    } cases[] = {
        {"  开会  ", "8", true, false},   {"开会", "200", true, false}, {"开会", "97.5", true, false},
        {"开会", "7.5", false, true},     {"开会", "201", false, true}, {"开会", "abc", false, true},
        {" \n\t", "96", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " at " + c.size);
        defaults().removeObject(Board::sizeKey);
        board().dismissDisplay();
        auto item = platform::MenuItem::make("自定义");
        board().openFromMenu(*item);
        board().editor()->setString(c.text);
        board().sizePicker()->setStringValue(c.size);
        const auto before = beeps();
        board().showCustom();
        EXPECT_EQ(!board().displayPanels().empty(), c.shown);
        EXPECT_EQ(beeps(), before + (c.shown ? 0 : 1));
        if (c.shown) {
            EXPECT_EQ(defaults().real(Board::sizeKey), std::stod(c.size));
            EXPECT_EQ(defaults().string(Board::textKey), c.text) << "stored untrimmed";
            EXPECT_FALSE(board().editorWindow()->isVisible());
        } else {
            EXPECT_FALSE(defaults().object(Board::sizeKey)) << "nothing stored";
            auto focused = board().editorWindow()->firstResponder();
            EXPECT_EQ(focused.get(), c.focusesSize ? static_cast<platform::View*>(board().sizePicker().get())
                                                   : static_cast<platform::View*>(board().editor().get()));
        }
    }
}

TEST_F(BlackboardTest, StoredSizesAndColoursFallBackWhenTheyDoNotParse) {
    struct SizeCase {
        std::optional<double> stored;
        const char* shown;
    } sizes[] = {{std::nullopt, "96"}, {0, "96"}, {-3, "96"}, {500, "200"}, {97.5, "97"}};
    for (const auto& c : sizes) {
        SCOPED_TRACE(c.shown);
        if (c.stored) {
            defaults().set(Board::sizeKey, *c.stored);
        } else {
            defaults().removeObject(Board::sizeKey);
        }
        EXPECT_EQ(fresh()->sizePicker()->stringValue(), c.shown);
    }
    struct ColorCase {
        const char* stored;
        Color read;
    } colors[] = {{"1,0,0", Color::black()}, {",1,,0,0,1", Color::sRGB(1, 0, 0, 1)}, {"a,b,c,d", Color::black()},
                  {"0.5,0.25,0,1", Color::sRGB(0.5, 0.25, 0, 1)}};
    for (const auto& c : colors) {
        SCOPED_TRACE(c.stored);
        defaults().set(Board::backgroundColorKey, c.stored);
        EXPECT_EQ(board().savedColor(Board::backgroundColorKey, Color::black()).rgba(), c.read.rgba());
    }
    board().saveColor(Color::white(), Board::textColorKey);
    EXPECT_EQ(defaults().string(Board::textColorKey), "1.00000,1.00000,1.00000,1.00000");
}

TEST_F(BlackboardTest, StylesAndTheGradientSwitchSetTheColours) {
    board().editor()->setString("留言");
    board().sizePicker()->setStringValue("120");
    board().dynamicGradientCheckbox()->setState(platform::ControlState::on);
    board().textColorWell()->setColor(Color::sRGB(0.1, 0.1, 0.1));
    board().toggleDynamicGradient();
    EXPECT_TRUE(board().dynamicGradientEnabled());
    EXPECT_EQ(board().textColorWell()->color().rgba(), Color::white().rgba()) << "the gradient forces white text";
    EXPECT_EQ(defaults().string(Board::textColorKey), "1.00000,1.00000,1.00000,1.00000");

    board().applyStylePreset(0);  // 粉笔
    EXPECT_FALSE(board().dynamicGradientEnabled()) << "a style turns the gradient off";
    EXPECT_EQ(board().dynamicGradientCheckbox()->state(), platform::ControlState::off);
    EXPECT_EQ(defaults().storedBoolean(Board::dynamicGradientKey), false);
    EXPECT_EQ(board().backgroundColorWell()->color().rgba(), Color::sRGB(0.075, 0.245, 0.18).rgba());
    EXPECT_EQ(defaults().string(Board::fontKey), "Kaiti SC");
    EXPECT_EQ(board().editor()->string(), "留言") << "text and size are left alone";
    EXPECT_EQ(board().sizePicker()->stringValue(), "120");
    board().applyStylePreset(5);
    EXPECT_EQ(board().backgroundColorWell()->color().rgba(), Color::sRGB(0.075, 0.245, 0.18).rgba());

    struct Family {
        const char* stored;
        const char* resolved;
    } families[] = {{"徽宗瘦金体", "Kaiti SC"}, {"No Such Face", "Kaiti SC"}, {"Menlo", "Menlo"}};
    for (const auto& f : families) {
        SCOPED_TRACE(f.stored);
        EXPECT_EQ(Board::resolvedPresetFamily(f.stored), f.resolved);
    }
    std::filesystem::create_directories(renderings);
    board().editorWindow()->makeKeyAndOrderFront();
    EXPECT_TRUE(platform::ScreenSnapshot::writePng(renderings / "blackboard_editor.png").ok());
}

TEST_F(BlackboardTest, ASignCoversEveryScreenUntilEscape) {
    auto second = setup.addScreen({.frame = {1440, 0, 1920, 1080}, .isBuiltIn = false});
    mouse.moveTo({2000, 500});
    showPreset(0);
    ASSERT_EQ(board().displayPanels().size(), 2u);
    for (const auto& panel : board().displayPanels()) {
        EXPECT_TRUE(panel->isVisible());
        EXPECT_EQ(panel->level(), 1000);
        EXPECT_EQ(panel->collectionBehavior().rawValue, 257u);
    }
    EXPECT_EQ(board().displayPanels()[0]->frame(), desktop.screens().primaryScreen()->frame()) << "over the menu bar too";
    EXPECT_TRUE(board().displayPanels()[1]->isKeyWindow()) << "the screen under the pointer takes the keys";

    auto panels = board().displayPanels();
    showPreset(2);
    EXPECT_FALSE(panels[0]->isVisible()) << "a new sign replaces the old";
    EXPECT_EQ(platform::EventMonitors::shared().localMonitorCount(), 1u);
    showPreset(7);
    EXPECT_EQ(board().displayPanels().size(), 2u) << "a tag past the presets does nothing";

    panels = board().displayPanels();
    keyboard.press(KeyCode::escape, "\x1b");
    EXPECT_TRUE(board().displayPanels().empty());
    EXPECT_FALSE(panels[0]->isVisible());
    EXPECT_FALSE(panels[1]->isVisible());
    EXPECT_EQ(platform::EventMonitors::shared().localMonitorCount(), 0u);
}

// A measurer under which text fits from `fitsAt` down, recording each size asked.
class SizeRecordingMeasurer final : public platform::TextMeasurer {
public:
    explicit SizeRecordingMeasurer(double fitsAt) : fitsAt_(fitsAt) {}
    platform::LineMetrics lineMetrics(const platform::Font& font) const override {
        return {font.pointSize(), 0, 0};
    }
    platform::Size measure(const platform::AttributedString& text, std::optional<double>) const override {
        const double size = text.attributesAt(0).font->pointSize();
        asked.push_back(size);
        return size <= fitsAt_ ? platform::Size{10, 10} : platform::Size{10, 1000};
    }
    mutable std::vector<double> asked;

private:
    double fitsAt_;
};

TEST_F(BlackboardTest, TheSignShrinksInStepsOfTwoToFit) {
    struct Case {
        const char* name;
        double requested;
        double fitsAt;
        double fitted;
        std::vector<double> asked;
    } cases[] = {
        {"fits at once", 96, 100, 96, {96}},
        {"shrinks by 2", 96, 91, 90, {96, 94, 92, 90}},
        {"10 becomes 8 unmeasured", 10, 1, 8, {10}},
        {"8 is taken as it is", 8, 1, 8, {}},
        {"never below 8", 13, 1, 8, {13, 11, 9}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SizeRecordingMeasurer measurer(c.fitsAt);
        EXPECT_EQ(fittedBlackboardFontSize("字", "PingFang SC", c.requested, {1340, 800}, measurer), c.fitted);
        EXPECT_EQ(measurer.asked, c.asked);
    }
    showPreset(2);
    ASSERT_EQ(board().fittedSizes().size(), 1u);
    EXPECT_EQ(board().fittedSizes()[0], 96) << "one character keeps 96 on 1440 × 900";
    std::filesystem::create_directories(renderings);
    EXPECT_TRUE(platform::ScreenSnapshot::writePng(renderings / "blackboard_sign.png").ok());
    board().present(std::string(600, 'w') + " " + std::string(600, 'w'), "PingFang SC", 96, Color::black(),
                    Color::white(), false, desktop.screens().primaryScreen());
    EXPECT_LT(board().fittedSizes()[0], 96);
    EXPECT_EQ(static_cast<int>(96 - board().fittedSizes()[0]) % 2, 0) << "in steps of 2";
}

TEST_F(BlackboardTest, TheGradientIsOneRandomSequenceForEveryScreenInStep) {
    setup.addScreen({.frame = {1440, 0, 1920, 1080}, .isBuiltIn = false});
    std::vector<std::pair<double, double>> draws;
    board().setRandomSource([&](double low, double high) {
        draws.emplace_back(low, high);
        return draws.size() % 2 ? low : high;  // both ends of every range
    });
    const double now = context().clock().uptime();
    board().present("休息中", "PingFang SC", 96, Color::black(), Color::white(), true, desktop.screens().primaryScreen());
    EXPECT_EQ(draws.size(), 9u * 3 * 3) << "nine frames of three colours, drawn once for both screens";
    EXPECT_EQ(draws[1], (std::pair<double, double>{0.68, 0.92}));
    EXPECT_EQ(draws[2], (std::pair<double, double>{0.34, 0.58}));
    ASSERT_EQ(board().displayPanels().size(), 2u);
    std::vector<platform::LayerGradient> gradients;
    for (const auto& panel : board().displayPanels()) {
        const auto& layer = panel->contentView()->layer();
        ASSERT_EQ(layer.gradients.size(), 1u);
        gradients.push_back(layer.gradients[0]);
    }
    EXPECT_EQ(gradients[0], gradients[1]) << "the same frames and start on both screens";
    ASSERT_EQ(gradients[0].animations.size(), 2u);
    const auto& colors = gradients[0].animations[0];
    EXPECT_EQ(colors.key, "blackboard.randomGradient");
    EXPECT_EQ(colors.duration, 24);
    EXPECT_EQ(colors.colorValues.size(), 9u);
    EXPECT_DOUBLE_EQ(colors.beginTime, now + 0.12);
    EXPECT_EQ(gradients[0].animations[1].duration, 18);

    // Half way through the 18 s direction cycle and 1/16 into the colours.
    advance(0.12 + 9);
    const auto shown = gradients[0].presentation(context().clock().uptime());
    EXPECT_NEAR(shown.startPoint.x, 0.5, 1e-9);
    EXPECT_NEAR(shown.startPoint.y, 0.5, 1e-9);
    EXPECT_EQ(shown.colors[0].rgba(), colors.colorValues[3][0].blended(0, colors.colorValues[4][0]).rgba());
    std::filesystem::create_directories(renderings);
    EXPECT_TRUE(platform::ScreenSnapshot::writePng(renderings / "blackboard_gradient.png").ok());
    auto content = board().displayPanels()[0]->contentView();
    ASSERT_FALSE(content->needsDisplay()) << "the picture drew the board";
    advance(0.1);
    EXPECT_TRUE(content->needsDisplay()) << "an animated board keeps being redrawn";
    board().dismissDisplay();
    content->display(*std::make_unique<platform::RecordingCanvas>(platform::Size{10, 10}));
    advance(0.1);
    EXPECT_FALSE(content->needsDisplay()) << "and stops once the sign is gone";
}

}  // namespace
}  // namespace tallowmere::testing
