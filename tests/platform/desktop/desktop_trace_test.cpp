#include "platform/desktop/desktop_trace.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/desktop/simulated_desktop_test.h"

namespace tallowmere::testing {
namespace {

using platform::AXPoint;
using platform::AXRect;
using platform::DesktopTrace;
using platform::ScreenPoint;

class DesktopTraceTest : public SimulatedDesktopTest {
  protected:
    DesktopTraceTest() {
        DesktopTrace::shared().onLine = [lines = lines_](const std::string& line) { lines->push_back(line); };
    }
    // The lines traced since the last call.
    std::vector<std::string> traced() { return std::exchange(*lines_, {}); }

    // A window's point from its top-left corner, in screen space.
    ScreenPoint at(const platform::SimulatedWindow& window, double x, double y) const {
        const AXRect frame = window.axFrame();
        return desktop.screens().toScreen(AXPoint{frame.minX() + x, frame.minY() + y});
    }

  private:
    std::shared_ptr<std::vector<std::string>> lines_ = std::make_shared<std::vector<std::string>>();
};

TEST_F(DesktopTraceTest, ApplicationsAndWindowsAsAPersonSeesThemChange) {
    platform::ApplicationSpec editor{.bundleIdentifier = "com.example.editor", .name = "Editor"};
    editor.launchWindows = {{.title = "Back", .frame = {500, 300, 400, 300}}, {.title = "Notes", .frame = {100, 100, 400, 300}}};
    auto app = setup.addApplication(editor);
    ASSERT_TRUE(app);
    EXPECT_EQ(traced(), (std::vector<std::string>{
                            R"(application launched "Editor" (com.example.editor))",
                            R"(window opened "Back" of "Editor" (500, 300, 400, 300))",
                            R"(window opened "Notes" of "Editor" (100, 500, 400, 300))",
                        }));
    auto notes = app->windows()[0];
    auto back = app->windows()[1];

    struct Step {
        const char* what;
        std::function<void()> act;
        std::vector<std::string> lines;
    } steps[] = {
        {"a press on the back window activates its application and raises the window",
         [&] { mouse.click(at(*back, 200, 150)); },
         {R"(application activated "Editor")", R"(window raised "Back" of "Editor")"}},
        {"a press on the window already in front changes nothing", [&] { mouse.click(at(*back, 200, 150)); }, {}},
        {"a title-bar drag reports where the window settles, once",
         [&] {
             mouse.dragTitleBar(*notes, at(*notes, 200 + 50, 10 + 40), 12);
             advance(DesktopTrace::settleSeconds);
         },
         {R"(window raised "Notes" of "Editor")", R"(window frame "Notes" of "Editor" (150, 460, 400, 300))"}},
        {"the minimise button sends the window to the Dock",
         [&] { mouse.click(at(*notes, 35, 14)); },
         {R"(window minimised "Notes" of "Editor")"}},
        {"a window restored from the Dock comes back where it was, in front",
         [&] { notes->setMinimized(false); },
         {R"(window restored "Notes" of "Editor")"}},
        {"a move still settling is reported before the window closes",
         [&] {
             ASSERT_TRUE(notes->handle().setAttribute("AXPosition", platform::AXValue(AXPoint{0, 50})).ok());
             mouse.click(at(*notes, 15, 14));
         },
         {R"(window frame "Notes" of "Editor" (0, 550, 400, 300))", R"(window closed "Notes" of "Editor")"}},
        {"a press that leaves the close button before it comes up keeps the window",
         [&] { mouse.drag(at(*back, 15, 14), at(*back, 200, 150), 3); }, {}},
        {"the pasteboard reports its new contents once they are written",
         [&] {
             desktop.pasteboard().clearContents();
             desktop.pasteboard().setString("copied\ntext");
             runUntilIdle();
         },
         {R"(pasteboard changed: "copied\ntext")"}},
        {"hiding and quitting",
         [&] {
             app->setHidden(true);
             app->terminate();
         },
         {R"(application hidden "Editor")", R"(application activated "Tallowmere Sparkwell")",
          R"(window closed "Back" of "Editor")", R"(application quit "Editor")"}},
    };
    desktop.accessibility().setTrusted(true);
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        EXPECT_EQ(traced(), step.lines);
    }
}

TEST_F(DesktopTraceTest, TheDisplayKeptAwakeAndFreeToSleepAgain) {
    auto& power = desktop.power();
    auto first = power.beginActivity(platform::ActivityOption::idleDisplaySleepDisabled |
                                         platform::ActivityOption::idleSystemSleepDisabled,
                                     "reading");
    auto second = power.beginActivity(
        static_cast<platform::ActivityOptions>(platform::ActivityOption::idleSystemSleepDisabled), "download");
    power.endActivity(first);
    power.endActivity(first);  // ended twice: nothing more happens
    EXPECT_TRUE(power.preventsIdleSystemSleep());
    EXPECT_FALSE(power.preventsIdleDisplaySleep());
    second.reset();  // a released token holds nothing
    EXPECT_FALSE(power.preventsIdleSystemSleep());
    EXPECT_EQ(traced(), (std::vector<std::string>{"display kept awake", "display kept awake", "display may sleep"}));
}

}  // namespace
}  // namespace tallowmere::testing
