#include "platform/viewer/viewer_modal_responder.h"

#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "platform/ui/alert.h"
#include "platform/ui/button.h"
#include "platform/ui/color_sampler.h"
#include "platform/ui/file_panel.h"
#include "platform/ui/file_panel_browser.h"
#include "platform/ui/screen_snapshot.h"
#include "platform/gfx/pango_text_measurer.h"
#include "platform/ui/view.h"
#include "platform/ui/window.h"
#include "platform/viewer/input_translator.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere::platform {
namespace {

// The person at the viewer answers the question on screen; the input is
// queued as the viewer's event thread queues it, and runs while the
// question waits.
class ViewerModalResponderTest : public testing::DesktopTest {
  protected:
    ViewerModalResponderTest() { application.setModalResponder(responder); }

    std::shared_ptr<ViewerModalResponder> responder = std::make_shared<ViewerModalResponder>();
    const ViewerGeometry geometry{{0, 0, 1440, 900}, 1};
    InputTranslator translator{desktop, context().mainQueue(), geometry};

    std::shared_ptr<Alert> restoreAlert() {
        auto alert = Alert::make();
        alert->messageText = "Restore the saved layout?";
        alert->informativeText = "Windows move back to where they were.";
        alert->addButton("Restore");
        alert->addButton("Keep Both");
        alert->addButton("Cancel");
        return alert;
    }

    // The last alert was answered by the person, not by its cancel choice.
    bool answeredByThePerson(const std::string& title) const {
        return uiTrace().back().starts_with("alert answered \"" + title + "\"");
    }

    static std::shared_ptr<Button> buttonTitled(const Alert& alert, const std::string& title) {
        for (const auto& view : alert.window()->contentView()->subviews()) {
            auto button = std::dynamic_pointer_cast<Button>(view);
            if (button && button->title() == title) return button;
        }
        return nullptr;
    }

    // Queues a click in the middle of `button` once the alert is up.
    void clickLater(const std::shared_ptr<Alert>& alert, std::string title) {
        context().mainQueue().async([this, alert, title] {
            auto button = buttonTitled(*alert, title);
            ASSERT_TRUE(button) << "the alert shows no " << title << " button";
            const auto pixel = geometry.pixel(button->convertToScreen(button->bounds()).center());
            for (auto kind :
                 {ViewerInput::Kind::buttonPressed, ViewerInput::Kind::buttonReleased}) {
                ViewerInput click;
                click.kind = kind;
                click.pixel = pixel;
                click.timestamp = clock().uptime();
                translator.handle(click);
            }
        });
    }

    void pressLater(std::uint32_t keysym, std::string text) {
        context().mainQueue().async([this, keysym, text] {
            for (auto kind : {ViewerInput::Kind::keyPressed, ViewerInput::Kind::keyReleased}) {
                ViewerInput press;
                press.kind = kind;
                press.keysym = keysym;
                press.text = press.textIgnoringModifiers = text;
                translator.handle(press);
            }
        });
    }
};

TEST_F(ViewerModalResponderTest, AlertIsAnsweredByTheButtonThePersonClicks) {
    struct Case {
        const char* name;
        const char* clicked;
        ModalResponse response;
    } cases[] = {
        {"the first button", "Restore", ModalResponses::alertFirstButton},
        {"the second button", "Keep Both", ModalResponses::alertSecondButton},
        {"the cancel button", "Cancel", ModalResponses::alertThirdButton},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto alert = restoreAlert();
        clickLater(alert, c.clicked);
        EXPECT_EQ(alert->runModal(), c.response);
        EXPECT_TRUE(answeredByThePerson(c.clicked)) << uiTrace().back();
        EXPECT_FALSE(alert->window()->isVisible());
    }
}

TEST_F(ViewerModalResponderTest, ReturnAndEscapePressTheirButtons) {
    auto alert = restoreAlert();
    pressLater(XK_Escape, "\x1b");
    EXPECT_EQ(alert->runModal(), ModalResponses::alertThirdButton);
    EXPECT_TRUE(answeredByThePerson("Cancel")) << uiTrace().back();
    alert = restoreAlert();
    pressLater(XK_Return, "\r");
    EXPECT_EQ(alert->runModal(), ModalResponses::alertFirstButton);
    EXPECT_TRUE(answeredByThePerson("Restore")) << uiTrace().back();
}

TEST_F(ViewerModalResponderTest, SuppressionBoxThePersonTicksIsKept) {
    auto alert = restoreAlert();
    alert->showsSuppressionButton = true;
    clickLater(alert, "Do not show this message again");
    clickLater(alert, "Restore");
    EXPECT_EQ(alert->runModal(), ModalResponses::alertFirstButton);
    EXPECT_TRUE(alert->isSuppressed);
}

TEST_F(ViewerModalResponderTest, AlertLeftUnansweredTakesItsCancelChoice) {
    // The wait ends without an answer when the program terminates; nothing
    // is then done.
    int shown = 0;
    responder->onQuestionShown = [&] { ++shown; };
    EXPECT_EQ(restoreAlert()->runModal(), ModalResponses::alertThirdButton);
    EXPECT_FALSE(answeredByThePerson("Cancel"));
    EXPECT_EQ(shown, 1) << "the screen was not asked to show the question";
}

TEST_F(ViewerModalResponderTest, ModalWindowEndsWithItsOwnButton) {
    auto panel = Window::make<Panel>(ScreenRect{400, 300, 300, 120}, WindowStyleMask::titled);
    panel->setContentView(View::make(Rect{0, 0, 300, 120}));
    auto done = Button::make("Done");
    done->setFrame({200, 16, 80, 28});
    done->onAction = [this](Control&) { application.stopModal(ModalResponses::ok); };
    panel->contentView()->addSubview(done);
    context().mainQueue().async([this, done] {
        for (auto kind : {ViewerInput::Kind::buttonPressed, ViewerInput::Kind::buttonReleased}) {
            ViewerInput click;
            click.kind = kind;
            click.pixel = geometry.pixel(done->convertToScreen(done->bounds()).center());
            translator.handle(click);
        }
    });
    EXPECT_EQ(application.runModal(panel), ModalResponses::ok);
}

TEST_F(ViewerModalResponderTest, ColourSamplerTakesThePickedColourOrEscape) {
    auto sampler = ColorSampler::make();
    std::vector<bool> samplingChanges;
    responder->onSamplingChanged = [&](bool sampling) { samplingChanges.push_back(sampling); };
    std::optional<std::optional<Color>> result;
    sampler->show([&](std::optional<Color> color) { result = color; });
    context().mainQueue().async([&] {
        ASSERT_TRUE(responder->isSampling());
        responder->colorPicked(Color::sRGB(0, 0.5, 1));
    });
    runUntilIdle();
    ASSERT_TRUE(result);
    EXPECT_EQ(*result, Color::sRGB(0, 0.5, 1));
    EXPECT_EQ(samplingChanges, (std::vector<bool>{true, false}));

    result.reset();
    responder->colorPicked(Color::white());  // after the loupe went: ignored
    sampler->show([&](std::optional<Color> color) { result = color; });
    context().mainQueue().async([&] { responder->colorPicked(std::nullopt); });
    runUntilIdle();
    ASSERT_TRUE(result);
    EXPECT_EQ(*result, std::nullopt);
}

}  // namespace
}  // namespace tallowmere::platform

namespace tallowmere::platform {
namespace {

// Open and save panels, used by the person on screen.
class ViewerFilePanelTest : public ViewerModalResponderTest {
  protected:
    std::filesystem::path projects = home() / "Projects";
    ViewerFilePanelTest() {
        std::filesystem::create_directories(projects / "Old");
        std::filesystem::create_directories(home() / ".config");
        std::ofstream(projects / "notes.txt") << "n";
    }

    void clickPanelButton(const std::shared_ptr<FilePanel>& panel, std::string title) {
        context().mainQueue().async([this, panel, title] {
            std::shared_ptr<Button> button;
            for (const auto& view : panel->window()->contentView()->subviews()) {
                auto candidate = std::dynamic_pointer_cast<Button>(view);
                if (candidate && candidate->title() == title) button = candidate;
            }
            ASSERT_TRUE(button) << "the panel shows no " << title << " button";
            const auto pixel = geometry.pixel(button->convertToScreen(button->bounds()).center());
            for (auto kind : {ViewerInput::Kind::buttonPressed, ViewerInput::Kind::buttonReleased}) {
                ViewerInput click;
                click.kind = kind;
                click.pixel = pixel;
                click.timestamp = clock().uptime();
                translator.handle(click);
            }
        });
    }
    void typeLater(const std::string& text) { pressLater(0, text); }
};

TEST_F(ViewerFilePanelTest, PersonTypesAPathAndChoosesTheFolder) {
    auto panel = OpenPanel::make();
    panel->canChooseFiles = false;
    panel->canChooseDirectories = true;
    panel->prompt = "Choose";
    panel->directoryURL = home();
    context().mainQueue().async([panel] {
        ASSERT_TRUE(panel->browser());
        std::vector<std::string> names;
        for (const auto& item : panel->browser()->items()) names.push_back(item.filename().string());
        EXPECT_EQ(names, (std::vector<std::string>{"Projects"})) << "dot folders stay out of sight";
    });
    typeLater("~/Projects");
    pressLater(XK_Return, "\r");
    clickPanelButton(panel, "Choose");
    EXPECT_EQ(panel->runModal(), ModalResponses::ok);
    EXPECT_EQ(panel->urls(), (std::vector<std::filesystem::path>{projects}));
}

TEST_F(ViewerFilePanelTest, CancelChoosesNothingAndFilesAreNotFolders) {
    auto panel = OpenPanel::make();
    panel->canChooseFiles = false;
    panel->canChooseDirectories = true;
    panel->directoryURL = projects;
    context().mainQueue().async([panel] {
        panel->browser()->select({"notes.txt"});  // not a folder: cannot be selected
        EXPECT_TRUE(panel->browser()->confirm()) << "nothing selected chooses the folder shown";
    });
    EXPECT_EQ(panel->runModal(), ModalResponses::ok);
    EXPECT_EQ(panel->urls(), (std::vector<std::filesystem::path>{projects}));

    clickPanelButton(panel, "Cancel");
    EXPECT_EQ(panel->runModal(), ModalResponses::cancel);
    EXPECT_TRUE(panel->urls().empty());
}

TEST_F(ViewerFilePanelTest, TheApplicationsFolderListsTheInstalledApplications) {
    setup.addApplication({.bundleIdentifier = "com.example.editor", .name = "Editor", .running = false});
    setup.addApplication({.bundleIdentifier = "com.example.mail", .name = "Mail"});
    setup.addApplication({.bundleIdentifier = "com.example.tool", .name = "Tool", .bundlePath = "/Tools/Tool.app"});
    auto panel = OpenPanel::make();
    panel->allowedFileTypes = {"app"};
    panel->prompt = "Add";
    panel->directoryURL = std::filesystem::path("/Applications");
    context().mainQueue().async([panel] {
        ASSERT_TRUE(panel->browser());
        EXPECT_EQ(panel->browser()->folder(), "/Applications");
        std::vector<std::string> names;
        for (const auto& item : panel->browser()->items()) names.push_back(item.filename().string());
        EXPECT_EQ(names, (std::vector<std::string>{"Editor.app", "Mail.app", "Tallowmere Sparkwell.app"}));
        panel->browser()->select({"Mail.app"});
        EXPECT_TRUE(panel->browser()->confirm());
    });
    EXPECT_EQ(panel->runModal(), ModalResponses::ok);
    EXPECT_EQ(panel->urls(), (std::vector<std::filesystem::path>{"/Applications/Mail.app"}));
}

TEST_F(ViewerFilePanelTest, SavePanelTakesTheTypedName) {
    auto panel = SavePanel::make();
    panel->directoryURL = projects;
    panel->nameFieldStringValue = "";
    typeLater("Plan.md");
    pressLater(XK_Return, "\r");
    EXPECT_EQ(panel->runModal(), ModalResponses::ok);
    EXPECT_EQ(panel->url(), projects / "Plan.md");
}

}  // namespace
}  // namespace tallowmere::platform

namespace tallowmere::platform {
namespace {

// A picture for a person to look at: a folder panel naming what it acts on.
TEST_F(ViewerFilePanelTest, WritesThePanelAsTheScreenShowsIt) {
    context().setShared<TextMeasurer>(std::make_shared<PangoTextMeasurer>());
    const auto file = std::filesystem::path(TALLOWMERE_BINARY_DIR) / "renderings" / "folder_panel.png";
    std::filesystem::create_directories(file.parent_path());
    auto panel = OpenPanel::make();
    panel->title = "复制到";
    panel->message = "选择文件要复制到的文件夹\n\n" + (projects / "notes.txt").string() + "\n" + (projects / "Old").string();
    panel->prompt = "复制到";
    panel->canChooseFiles = false;
    panel->canChooseDirectories = true;
    panel->directoryURL = projects;
    context().mainQueue().async([panel, file] {
        EXPECT_TRUE(ScreenSnapshot::writePng(file).ok());
        panel->browser()->cancel();
    });
    EXPECT_EQ(panel->runModal(), ModalResponses::cancel);
    EXPECT_GT(std::filesystem::file_size(file), 10000u);
}

}  // namespace
}  // namespace tallowmere::platform
