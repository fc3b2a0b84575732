// Also writes a picture a person can look at, under the build folder:
//   renderings/toys/decision_window.png   the form after a decision
#include "toys/scientific_decision_controller.h"

#include <filesystem>

#include "platform/base/iso8601.h"
#include "platform/gfx/cairo_canvas.h"
#include "platform/gfx/pango_text_measurer.h"
#include "platform/gfx/png.h"
#include "platform/ui/screen_snapshot.h"
#include "platform/ui/button.h"
#include "platform/ui/label.h"
#include "platform/ui/text_field.h"
#include "platform/ui/text_view.h"
#include "platform/ui/window.h"
#include "support/desktop/desktop_fixture.h"
#include "support/scoped_time_zone.h"

namespace tallowmere::testing {
namespace {

class ScientificDecisionControllerTest : public DesktopTest {
protected:
    void SetUp() override {
        clock().setNow(platform::Iso8601::parse("2026-10-01T12:34:56+08:00").value());
        std::filesystem::create_directories(home() / "Desktop");
        controller().randomIndex = [this](std::size_t count) {
            offered = count;
            return drawn;
        };
        controller().open();
    }

    ScientificDecisionController& controller() { return ScientificDecisionController::shared(); }

    void fill(const char* people, const char* matter, std::array<const char*, 4> outcomes) {
        controller().peopleField()->setStringValue(people);
        controller().matterView()->setString(matter);
        for (std::size_t i = 0; i < 4; ++i) controller().resultFields()[i]->setStringValue(outcomes[i]);
    }

    std::vector<std::string> desktopFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(home() / "Desktop")) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    std::size_t drawn = 0, offered = 0;
    ScopedTimeZone zone_{"Asia/Shanghai"};
};

TEST_F(ScientificDecisionControllerTest, OpensWithItsTextsAndTheFocusOnTheDisputants) {
    const auto window = controller().window();
    ASSERT_TRUE(window->isVisible());
    EXPECT_EQ(window->title(), "塔洛梅科学决策机制高手");
    EXPECT_EQ(window->contentLayoutRect().size, (platform::Size{600, 620}));
    EXPECT_EQ(window->firstResponder(), controller().peopleField());
    EXPECT_EQ(controller().resultLabel()->stringValue(), "等待科学决策……");
    EXPECT_FALSE(controller().saveButton()->isEnabled());
    EXPECT_EQ(controller().resultFields()[3]->placeholderString(), "可选结果 D");
}

TEST_F(ScientificDecisionControllerTest, IncompleteFormsGetTheirAlertAndChangeNothing) {
    struct Case {
        const char* people;
        const char* matter;
        std::array<const char*, 4> outcomes;
        const char* message;
    } cases[] = {
        {"", "", {"", "", "", ""}, "请填写纷争人。"},
        {"小王", " ", {"a", "b", "", ""}, "请填写事情概述。"},
        {"小王", "事", {"a", "   ", "", ""}, "请至少填写两个候选结果。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        fill(c.people, c.matter, c.outcomes);
        controller().decideButton()->performClick();
        ASSERT_FALSE(alerts.shown().empty());
        EXPECT_EQ(alerts.last().messageText, "还不能开始决策");
        EXPECT_EQ(alerts.last().informativeText, c.message);
        EXPECT_EQ(alerts.last().buttons, (std::vector<std::string>{"好"}));
        EXPECT_FALSE(controller().record());
        EXPECT_FALSE(controller().saveButton()->isEnabled());
        EXPECT_EQ(controller().resultLabel()->stringValue(), "等待科学决策……");
    }
    EXPECT_TRUE(desktopFiles().empty());
}

TEST_F(ScientificDecisionControllerTest, DecidingShowsTheFieldsLetterAndSavesOnTheDesktop) {
    fill("小王, 小李；；小张", "午饭", {"面条", "", "", "米饭"});
    drawn = 1;
    controller().decideButton()->performClick();
    EXPECT_EQ(offered, 2u);
    EXPECT_TRUE(alerts.shown().empty());
    EXPECT_EQ(controller().resultLabel()->stringValue(), "科学决策结果：D · 米饭");
    EXPECT_EQ(controller().record()->people, "小王、小李、小张");
    EXPECT_TRUE(controller().saveButton()->isEnabled());

    controller().decideButton()->performClick();  // the same second
    EXPECT_EQ(desktopFiles(), (std::vector<std::string>{"塔洛梅科学决策证书-20261001-123456-2.png",
                                                        "塔洛梅科学决策证书-20261001-123456.png"}));
}

TEST_F(ScientificDecisionControllerTest, AFailedDesktopSaveKeepsTheDecisionAndSaysWhy) {
    std::filesystem::remove_all(home() / "Desktop");
    fill("小王", "事", {"a", "b", "", ""});
    controller().decideButton()->performClick();
    ASSERT_EQ(alerts.count(), 1u);
    EXPECT_EQ(alerts.last().messageText, "证书未能保存到桌面");
    EXPECT_EQ(alerts.last().informativeText, "未找到桌面文件夹。");
    EXPECT_TRUE(controller().record());
    EXPECT_EQ(controller().resultLabel()->stringValue(), "科学决策结果：A · a");
}

TEST_F(ScientificDecisionControllerTest, SaveAsWritesAPngWhereThePersonChose) {
    fill("小王", "事", {"a", "b", "", ""});
    controller().decideButton()->performClick();
    const auto chosen = home() / "证书.png";
    panels.saveAs(chosen);
    controller().saveButton()->performClick();
    ASSERT_EQ(panels.shown().size(), 1u);
    EXPECT_EQ(panels.shown().front().title, "保存科学决策证书");
    const auto decoded = platform::readPng(chosen);
    ASSERT_TRUE(decoded.ok());
    EXPECT_GT(decoded->pixelsWide(), 0);
}

TEST_F(ScientificDecisionControllerTest, RendersTheFormAfterADecision) {
    context().setShared<platform::TextMeasurer>(std::make_shared<platform::PangoTextMeasurer>());
    fill("小王、小李", "周末去爬山还是看电影", {"爬山", "看电影", "", "在家睡觉"});
    drawn = 2;
    controller().decideButton()->performClick();
    const auto& window = *controller().window();
    window.contentView()->layoutSubtreeIfNeeded();
    const auto frame = window.frame();
    auto made = platform::CairoCanvas::make({frame.width(), frame.height()}, 2);
    ASSERT_TRUE(made.ok());
    auto& canvas = **made;
    canvas.translate(-frame.minX(), -frame.minY());
    platform::ScreenSnapshot::drawOwnWindow(canvas, window);
    const auto folder = std::filesystem::path(TALLOWMERE_BINARY_DIR) / "renderings" / "toys";
    std::filesystem::create_directories(folder);
    ASSERT_TRUE(platform::writePng(canvas.bitmap(), folder / "decision_window.png").ok());
    // The last control sits inside the window, above its bottom margin.
    const auto save = controller().saveButton();
    const auto inWindow = save->convertToWindow(platform::Point{0, 0});
    EXPECT_GE(std::min(inWindow.y, save->convertToWindow(platform::Point{0, save->bounds().height()}).y), 17.0);
    EXPECT_EQ(controller().resultLabel()->stringValue(), "科学决策结果：D · 在家睡觉");
}

}  // namespace
}  // namespace tallowmere::testing
