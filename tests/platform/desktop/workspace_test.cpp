#include "platform/desktop/workspace.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/desktop/simulated_desktop_test.h"

namespace tallowmere::testing {
namespace {

using platform::RunningApplication;
using platform::Workspace;

class WorkspaceTest : public SimulatedDesktopTest {
  protected:
    void SetUp() override {
        for (const char* name : {Workspace::didActivateApplicationNotification,
                                 Workspace::didDeactivateApplicationNotification,
                                 Workspace::didLaunchApplicationNotification,
                                 Workspace::didTerminateApplicationNotification}) {
            workspace().notificationCenter().addObserver(
                name, nullptr, [this](const platform::Notification& n) {
                    auto* app =
                        n.info<std::shared_ptr<RunningApplication>>(Workspace::applicationKey);
                    posted.push_back(
                        n.name + " " +
                        (app && *app ? (*app)->localizedName().value_or("?") : "none"));
                });
        }
    }
    Workspace& workspace() { return desktop.workspace(); }

    std::vector<std::string> posted;
};

TEST_F(WorkspaceTest, ActivationPostsAndChangesTheFrontmostApplication) {
    auto editor =
        setup.addApplication({.bundleIdentifier = "com.example.editor", .name = "Editor"});
    auto back = editor->addWindow({.title = "Back"});
    auto front = editor->addWindow({.title = "Front"});
    auto program = workspace().frontmostApplication();
    ASSERT_TRUE(program);
    EXPECT_EQ(program->processIdentifier(), desktop.currentProcessIdentifier())
        << "the program starts in front";

    posted.clear();
    ASSERT_TRUE(editor->runningApplication()->activate());
    EXPECT_EQ(workspace().frontmostApplication(), editor->runningApplication());
    EXPECT_TRUE(editor->runningApplication()->isActive());
    EXPECT_EQ(posted,
              (std::vector<std::string>{"WorkspaceDidDeactivateApplication Tallowmere Sparkwell",
                                        "WorkspaceDidActivateApplication Editor"}));
    EXPECT_EQ(desktop.windowServer().orderedWindows().front(), front)
        << "its main window comes forward";

    // Activating the frontmost application again posts nothing.
    posted.clear();
    ASSERT_TRUE(editor->runningApplication()->activate());
    EXPECT_TRUE(posted.empty());

    // When it quits, the program takes over again.
    ASSERT_TRUE(editor->runningApplication()->terminate());
    runUntilIdle();
    EXPECT_EQ(posted,
              (std::vector<std::string>{"WorkspaceDidTerminateApplication Editor",
                                        "WorkspaceDidActivateApplication Tallowmere Sparkwell"}));
    EXPECT_EQ(workspace().frontmostApplication()->processIdentifier(),
              desktop.currentProcessIdentifier());
    EXPECT_TRUE(desktop.windowServer().orderedWindows().empty());
    (void)back;
}

TEST_F(WorkspaceTest, OpeningAnApplicationWaitsForItsLaunch) {
    setup.addApplication({.bundleIdentifier = "com.example.mail",
                          .name = "Mail",
                          .bundlePath = "/System/Applications/Mail.app",
                          .running = false,
                          .launchDuration = 2.0,
                          .launchWindows = {{.title = "Inbox"}}});
    auto path = workspace().urlForApplication("com.example.mail");
    ASSERT_EQ(path, "/System/Applications/Mail.app");

    std::shared_ptr<RunningApplication> opened;
    workspace().openApplication(*path, {.arguments = {"--compose"}}, [&](auto result) {
        ASSERT_TRUE(result);
        opened = *result;
    });
    advance(1.9);
    EXPECT_FALSE(opened);
    EXPECT_EQ(workspace().runningApplications().size(), 1u) << "only the program runs yet";

    advance(0.1);
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->bundleIdentifier(), "com.example.mail");
    EXPECT_TRUE(opened->isActive());
    auto mail = desktop.application("com.example.mail");
    ASSERT_EQ(mail->windows().size(), 1u);
    EXPECT_EQ(mail->windows().front()->title(), "Inbox");
    EXPECT_EQ(mail->launchArguments(), (std::vector<std::vector<std::string>>{{"--compose"}}));
    EXPECT_EQ(posted.front(), "WorkspaceDidLaunchApplication Mail");
}

TEST_F(WorkspaceTest, WindowsThatAppearLaterAndLaunchesThatAreCancelled) {
    auto slow = setup.addApplication(
        {.bundleIdentifier = "com.example.slow", .name = "Slow", .running = false});
    slow->onLaunched = [](platform::SimulatedApplication& app) {
        app.addWindowAfter(3.0, {.title = "Late"});
    };
    slow->launch();
    advance(0.5);
    EXPECT_TRUE(slow->isRunning());
    EXPECT_TRUE(slow->windows().empty());
    advance(3.0);
    EXPECT_EQ(slow->windows().size(), 1u);

    auto never = setup.addApplication(
        {.bundleIdentifier = "com.example.never", .name = "Never", .running = false});
    bool completed = false;
    never->launch([&](auto) { completed = true; });
    never->terminate();  // the person quits it from the Dock while it bounces
    advance(5);
    EXPECT_FALSE(never->isRunning());
    EXPECT_FALSE(completed);
}

TEST_F(WorkspaceTest, OpeningURLsAndFilesFindsTheirApplications) {
    auto browser = setup.addApplication({.bundleIdentifier = "com.example.browser",
                                         .name = "Browser",
                                         .running = false,
                                         .launchDuration = 1.0,
                                         .urlSchemes = {"http", "https"}});
    auto editor = setup.addApplication({.bundleIdentifier = "com.example.editor",
                                        .name = "Editor",
                                        .documentExtensions = {"txt", "md"}});
    const std::filesystem::path notes = home() / "Notes.txt";
    std::ofstream(notes) << "hello";

    struct Case {
        std::string url;
        bool opens;
    } cases[] = {
        {"https://example.com/", true},
        {"HTTP://example.com/a", true},
        {"file://" + notes.string(), true},
        {notes.string(), true},
        {(home() / "Missing.txt").string(), false},
        {"x-unknown:thing", false},
        {"no scheme at all", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        EXPECT_EQ(workspace().openURL(c.url), c.opens);
    }
    EXPECT_EQ(workspace().openedURLs().size(), std::size(cases)) << "every request is recorded";

    advance(1.0);
    EXPECT_EQ(browser->openedURLs(),
              (std::vector<std::string>{"https://example.com/", "HTTP://example.com/a"}));
    // The same document opened twice has one window.
    EXPECT_EQ(editor->openedURLs().size(), 2u);
    ASSERT_EQ(editor->windows().size(), 2u);
    EXPECT_EQ(editor->windows().front()->title(), "Notes.txt");
    EXPECT_EQ(workspace().urlForApplicationToOpen("https://x.org"), browser->bundlePath());
}

TEST_F(WorkspaceTest, OpeningAnApplicationThatIsNotInstalledFails) {
    std::optional<platform::Error> failure;
    workspace().openApplication("/Applications/Nothing.app", {}, [&](auto result) {
        if (!result) failure = result.error();
    });
    EXPECT_FALSE(failure) << "the completion comes on a later turn";
    runUntilIdle();
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->code, platform::ErrorCode::notFound);
}

TEST_F(WorkspaceTest, InstallingRefusesApplicationsThatCannotExist) {
    EXPECT_FALSE(desktop.addApplication({.bundleIdentifier = "", .name = "Nameless"}));
    EXPECT_FALSE(desktop.addApplication({.bundleIdentifier = "com.example.a", .name = ""}));
    ASSERT_TRUE(desktop.addApplication({.bundleIdentifier = "com.example.a", .name = "A"}));
    EXPECT_FALSE(desktop.addApplication({.bundleIdentifier = "com.example.a", .name = "Again"}));
    EXPECT_FALSE(desktop.addApplication({.bundleIdentifier = "com.example.b", .name = "A"}))
        << "same bundle path";
}

TEST_F(WorkspaceTest, HidingTakesWindowsOffScreenAndPassesTheFront) {
    auto editor = setup.addFrontWindow({.bundleIdentifier = "com.example.editor", .name = "Editor"},
                                       {.title = "A"});
    auto viewer =
        setup.addApplication({.bundleIdentifier = "com.example.viewer", .name = "Viewer"});
    auto picture = viewer->addWindow({.title = "Picture"});
    editor->application()->runningApplication()->hide();
    EXPECT_TRUE(editor->application()->isHidden());
    EXPECT_EQ(desktop.windowServer().orderedWindows(),
              (std::vector<std::shared_ptr<platform::SimulatedWindow>>{picture}));
    EXPECT_EQ(workspace().frontmostApplication(), viewer->runningApplication());
    ASSERT_TRUE(editor->application()->runningApplication()->activate());
    EXPECT_FALSE(editor->application()->isHidden()) << "activating unhides";
}

TEST_F(WorkspaceTest, FileViewerSelectionsAreRecorded) {
    EXPECT_FALSE(workspace().activateFileViewerSelecting({}));
    EXPECT_TRUE(workspace().activateFileViewerSelecting({"file:///Users/me/a.txt"}));
    EXPECT_EQ(workspace().fileViewerSelections().size(), 1u);
}

}  // namespace
}  // namespace tallowmere::testing
