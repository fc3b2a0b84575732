#include <gtest/gtest.h>

#include "platform/ui/alert.h"
#include "platform/ui/button.h"
#include "platform/ui/color_sampler.h"
#include "platform/ui/file_panel.h"
#include "platform/ui/label.h"
#include "platform/ui/view.h"
#include "platform/ui/window.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere::platform {
namespace {

class AlertTest : public testing::DesktopTest {
protected:
    std::shared_ptr<Alert> clearHistoryAlert() {
        auto alert = Alert::make();
        alert->messageText = "清空取色历史？";
        alert->informativeText = "将删除全部已保存的颜色记录。";
        alert->addButton("清空");
        alert->addButton("取消");
        return alert;
    }
};

TEST_F(AlertTest, AnsweredWithItsSecondButtonReturns1001) {
    alerts.answer(ModalResponses::alertSecondButton);
    EXPECT_EQ(clearHistoryAlert()->runModal(), 1001);
    ASSERT_EQ(alerts.count(), 1u);
    EXPECT_EQ(alerts.last().messageText, "清空取色历史？");
    EXPECT_EQ(alerts.last().buttons, (std::vector<std::string>{"清空", "取消"}));
}

TEST_F(AlertTest, WithoutAnAnswerTheCancelChoiceIsTaken) {
    struct Case {
        const char* name;
        std::vector<std::string> buttons;
        ModalResponse expected;
    } cases[] = {
        {"Cancel button by its title", {"还原", "取消"}, 1001},
        {"a lone button acknowledges", {"好"}, 1000},
        {"no cancel button: the last", {"Replace", "Keep Both", "Stop"}, 1002},
        {"no buttons: OK", {}, 1000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto alert = Alert::make();
        for (const auto& title : c.buttons) alert->addButton(title);
        EXPECT_EQ(alert->runModal(), c.expected);
    }
    EXPECT_FALSE(alerts.last().wasScripted);
}

TEST_F(AlertTest, EscapeKeyEquivalentMarksTheCancelChoice) {
    auto alert = Alert::make();
    alert->addButton("Delete");
    alert->addButton("Keep");
    alert->button(0).keyEquivalent = "";
    alert->button(1).keyEquivalent = "\x1b";
    alert->addButton("Later");
    EXPECT_EQ(alert->cancelResponse(), 1001);
}

TEST_F(AlertTest, AnswerOutsideItsButtonsIsRefused) {
    alerts.answer(1005);
    EXPECT_EQ(clearHistoryAlert()->runModal(), 1001) << "an impossible answer acted";
}

TEST_F(AlertTest, AccessoryViewIsFilledBeforeTheAnswerAndWorkPostedBeforeRuns) {
    auto alert = clearHistoryAlert();
    alert->accessoryView = View::make(Rect{0, 0, 220, 24});
    alert->showsSuppressionButton = true;
    bool focusedBeforeAnswer = false, ranFirst = false;
    context().mainQueue().async([&] { ranFirst = true; });
    alerts.answerWith([&](Alert& shown) {
        focusedBeforeAnswer = ranFirst;
        EXPECT_EQ(shown.accessoryView->window(), shown.window());
        shown.isSuppressed = true;
        return ModalResponses::alertFirstButton;
    });
    EXPECT_EQ(alert->runModal(), 1000);
    EXPECT_TRUE(focusedBeforeAnswer);
    EXPECT_TRUE(alert->isSuppressed);
    EXPECT_FALSE(alert->window()->isVisible());
}

TEST_F(AlertTest, PanelGrowsToShowItsWholeInformativeText) {
    std::string paragraph = "Allow the program in System Settings, then return to it and select the text again.";
    struct Case {
        const char* name;
        int paragraphs;
        double width;
    } cases[] = {
        {"a short text keeps the standard size", 0, 420},
        {"a guide grows taller", 8, 420},
        {"a text taller than the screen widens the panel", 60, 880},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto alert = clearHistoryAlert();
        for (int i = 0; i < c.paragraphs; ++i) alert->informativeText += "\n\n" + paragraph;
        alerts.answerWith([&](Alert& shown) {
            const auto content = shown.window()->contentView();
            EXPECT_EQ(content->frame().width(), c.width);
            for (const auto& view : content->subviews()) {
                auto label = std::dynamic_pointer_cast<Label>(view);
                if (!label || label->stringValue() != shown.informativeText) continue;
                EXPECT_GE(label->frame().height(), label->fittingHeightForWidth(label->frame().width()) - 0.01)
                    << "the informative text is cut off";
                EXPECT_GE(label->frame().minY(), 44) << "the text runs into the buttons";
                EXPECT_LE(label->frame().maxY(), content->frame().height() - 38) << "the text runs into the message";
            }
            if (c.paragraphs == 0) {
                EXPECT_EQ(content->frame().height(), 160);
            }
            return ModalResponses::alertFirstButton;
        });
        alert->runModal();
    }
}

TEST_F(AlertTest, ARowOfLongButtonsWidensThePanelInsteadOfLeavingIt) {
    auto alert = Alert::make();
    for (const char* title : {"Open Chrome", "Automation Settings", "Accessibility Settings", "Close"}) {
        alert->addButton(title);
    }
    alerts.answerWith([&](Alert& shown) {
        const auto content = shown.window()->contentView();
        int buttons = 0;
        for (const auto& view : content->subviews()) {
            if (!std::dynamic_pointer_cast<platform::Button>(view)) continue;
            ++buttons;
            EXPECT_GE(view->frame().minX(), 20) << "a button hangs off the panel's left edge";
            EXPECT_LE(view->frame().maxX(), content->frame().width() - 20);
        }
        EXPECT_EQ(buttons, 4);
        return ModalResponses::alertFirstButton;
    });
    alert->runModal();
}

TEST_F(AlertTest, SheetIsAnsweredOnALaterTurn) {
    auto parent = Window::make(ScreenRect{100, 100, 600, 400}, WindowStyleMask::titled);
    parent->setTitle("Hosts");
    std::optional<ModalResponse> response;
    alerts.answer(1000);
    clearHistoryAlert()->beginSheetModal(parent, [&](ModalResponse r) { response = r; });
    EXPECT_FALSE(response);
    runUntilIdle();
    EXPECT_EQ(response, 1000);
}

TEST_F(AlertTest, OpenPanelTakesOnlyWhatAPersonCouldChoose) {
    struct Case {
        const char* name;
        std::vector<std::filesystem::path> choice;
        bool multiple;
        ModalResponse expected;
    } cases[] = {
        {"one application", {"/Applications/Editor.app"}, false, ModalResponses::ok},
        {"two without multiple selection", {"/Applications/A.app", "/Applications/B.app"}, false, ModalResponses::cancel},
        {"two with multiple selection", {"/Applications/A.app", "/Applications/B.app"}, true, ModalResponses::ok},
        {"a file of another type", {"/tmp/notes.txt"}, false, ModalResponses::cancel},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto panel = OpenPanel::make();
        panel->title = "选择要排除的应用";
        panel->allowedFileTypes = {"app"};
        panel->allowsMultipleSelection = c.multiple;
        panels.choose(c.choice);
        EXPECT_EQ(panel->runModal(), c.expected);
        EXPECT_EQ(panel->urls().empty(), c.expected == ModalResponses::cancel);
    }
}

TEST_F(AlertTest, PanelsWithoutAPersonAreCancelled) {
    auto open = OpenPanel::make();
    open->canChooseDirectories = true;
    open->canChooseFiles = false;
    EXPECT_EQ(open->runModal(), ModalResponses::cancel);
    auto save = SavePanel::make();
    EXPECT_EQ(save->runModal(), ModalResponses::cancel);
    EXPECT_FALSE(save->url());
    EXPECT_EQ(panels.shown().size(), 2u);
}

TEST_F(AlertTest, SavePanelAddsTheAllowedExtension) {
    auto save = SavePanel::make();
    save->allowedFileTypes = {"png"};
    panels.saveAs(home() / "certificate");
    std::optional<ModalResponse> response;
    save->begin([&](ModalResponse r) { response = r; });
    runUntilIdle();
    EXPECT_EQ(response, ModalResponses::ok);
    EXPECT_EQ(save->url(), home() / "certificate.png");
}

TEST_F(AlertTest, ColourSamplerAnswersLaterAndIgnoresASecondStart) {
    auto sampler = ColorSampler::make();
    std::vector<std::optional<Color>> results;
    panels.pickColor(Color::sRGB(1, 0, 0));
    sampler->show([&](std::optional<Color> color) { results.push_back(color); });
    sampler->show([&](std::optional<Color> color) { results.push_back(color); });
    EXPECT_TRUE(sampler->isSampling());
    runUntilIdle();
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0], Color::sRGB(1, 0, 0));

    sampler->show([&](std::optional<Color> color) { results.push_back(color); });
    runUntilIdle();
    EXPECT_EQ(results.back(), std::nullopt) << "nobody picked, yet a colour came back";
}

TEST_F(AlertTest, ModalWindowEndsWithTheResponseGivenToStopModal) {
    auto panel = Window::make<Panel>(ScreenRect{0, 0, 560, 228}, WindowStyleMask::titled);
    panels.actInModalWindow([&](Window&) { application.stopModal(2); });
    EXPECT_EQ(application.runModal(panel), 2);
    EXPECT_EQ(application.runModal(panel), ModalResponses::abort) << "a session nobody ended did not abort";
}

}  // namespace
}  // namespace tallowmere::platform
