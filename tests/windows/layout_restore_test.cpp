#include "windows/layout_restore.h"

#include <gtest/gtest.h>

#include <fstream>

#include "app/app_error.h"
#include "platform/desktop/desktop.h"
#include "support/desktop/desktop_fixture.h"
#include "support/geometry_printing.h"
#include "windows/layout_screen_mapping.h"
#include "windows/layout_store.h"
#include "windows/screen_geometry.h"
#include "windows/accessibility.h"

namespace tallowmere {
namespace {

namespace fs = std::filesystem;
using platform::AXRect;
using platform::SimulatedApplication;
using platform::SimulatedWindow;

// What a restore reported, and how often.
struct Outcome {
    int calls = 0;
    std::optional<platform::Result<int>> result;
    LayoutStore::RestoreCompletion completion() {
        return [this](platform::Result<int> r) {
            ++calls;
            result = std::move(r);
        };
    }
    int restored() const { return result && result->ok() ? result->value() : -1; }
};

// Three applications on two screens, captured as the person left them.
class LayoutRestoreTest : public testing::DesktopTest {
protected:
    LayoutRestoreTest() {
        setup.grantAccessibility();
        setup.grantScreenCapture();
        notes = editor->addWindow({.title = "notes", .frame = {100, 100, 800, 600}});
        draft = editor->addWindow({.title = "Draft", .frame = {1600, 100, 1000, 700}});
        page = browser->windows().front();  // opened at launch
        page->setFrame({200, 60, 1000, 780});
        shell = terminal->addWindow({.title = "zsh", .frame = {400, 300, 600, 400}});
        shell->raise();
        notes->raise();  // frontmost
    }

    const WorkspaceLayout& capture() {
        EXPECT_TRUE(store->capture("Desk").ok());
        return store->layouts.front();
    }
    Outcome restore(const WorkspaceLayout& layout) {
        Outcome outcome;
        store->restore(layout.id, outcome.completion());
        return outcome;
    }
    fs::path layoutsFile() const { return home() / "Library/Application Support/Perrowgate/layouts.json"; }
    std::shared_ptr<SimulatedWindow> front() { return desktop.windowServer().orderedWindows().front(); }

    std::shared_ptr<platform::Screen> studio =
        setup.addScreen({.frame = {1440, 0, 1920, 1080}, .localizedName = "Studio", .isBuiltIn = false});
    std::shared_ptr<SimulatedApplication> editor =
        setup.addApplication({.bundleIdentifier = "com.example.editor", .name = "Editor"});
    std::shared_ptr<SimulatedApplication> browser = setup.addApplication(
        {.bundleIdentifier = "com.example.browser", .name = "Browser", .launchDuration = 1.0,
         .launchWindows = {{.title = "Start", .frame = {0, 24, 640, 480}}}});
    std::shared_ptr<SimulatedApplication> terminal =
        setup.addApplication({.bundleIdentifier = "com.example.terminal", .name = "Terminal"});
    std::shared_ptr<SimulatedWindow> notes, draft, page, shell;
    std::shared_ptr<LayoutStore> store = std::make_shared<LayoutStore>();
};

TEST_F(LayoutRestoreTest, MovedWindowsGoBackAndTheSavedFrontWindowEndsInFront) {
    const WorkspaceLayout& layout = capture();
    notes->setFrame({10, 500, 300, 200});
    draft->setFrame({20, 30, 500, 400});
    draft->setMinimized(true);
    page->raise();

    Outcome outcome = restore(layout);
    advance(0.19);
    EXPECT_EQ(notes->frame(), AXRect(10, 500, 300, 200)) << "nothing moves before the short wait";
    advance(0.02);
    EXPECT_EQ(notes->frame(), AXRect(100, 100, 800, 600));
    EXPECT_EQ(draft->frame(), AXRect(1600, 100, 1000, 700)) << "back on the second screen";
    EXPECT_FALSE(draft->isMinimized());
    EXPECT_EQ(outcome.calls, 0);

    // Four raises, twice, then the completion.
    advance(0.18 + 4 * 0.075 + 0.14 + 4 * 0.075 - 0.2);
    EXPECT_EQ(outcome.calls, 0);
    advance(0.25 + 0.2);
    ASSERT_EQ(outcome.calls, 1);
    EXPECT_EQ(outcome.restored(), 4);
    EXPECT_EQ(front(), notes) << "the saved frontmost window is raised last";
    advance(10);
    EXPECT_EQ(outcome.calls, 1);
}

TEST_F(LayoutRestoreTest, AQuitApplicationIsLaunchedAndItsWindowPlacedWhenItIsThereInTime) {
    const WorkspaceLayout& layout = capture();
    browser->terminate();
    Outcome outcome = restore(layout);
    ASSERT_EQ(desktop.workspace().openedApplications().size(), 1u);
    EXPECT_EQ(desktop.workspace().openedApplications().front(), browser->bundlePath());
    advance(2.5);
    ASSERT_TRUE(browser->isRunning());
    EXPECT_EQ(browser->windows().front()->frame(), AXRect(0, 24, 640, 480)) << "placing waits for the launch wait";
    advance(0.2);
    EXPECT_EQ(browser->windows().front()->frame(), AXRect(200, 60, 1000, 780));
    advance(5);
    ASSERT_EQ(outcome.calls, 1);
    EXPECT_EQ(outcome.restored(), 4);
}

// Every restore reports exactly once, whatever became of its applications.
TEST_F(LayoutRestoreTest, CompletionRunsOnceWhenApplicationsNeverArrive) {
    struct Case {
        const char* what;
        std::function<void()> change;
        bool changeWhileWaiting;
        int skipped;  // saved windows that cannot be placed
    } cases[] = {
        {"an application takes longer than the wait",
         [this] {
             setup.addApplication({.bundleIdentifier = "com.example.slow", .name = "Slow", .running = false,
                                     .launchDuration = 30, .launchWindows = {{.title = "Slow"}}});
             store->layouts.front().windows.push_back(
                 {.bundleIdentifier = "com.example.slow", .appName = "Slow", .title = "Slow", .frame = {0, 30, 400, 300}});
         },
         false, 1},
        {"an application is no longer installed",
         [this] {
             for (auto& w : store->layouts.front().windows) {
                 if (w.bundleIdentifier == "com.example.browser") w.bundleIdentifier = "com.example.gone";
             }
         },
         false, 1},
        {"an application quits during the wait", [this] { terminal->terminate(); }, true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        store->layouts.clear();
        const WorkspaceLayout& layout = capture();
        if (!c.changeWhileWaiting) c.change();
        Outcome outcome = restore(layout);
        if (c.changeWhileWaiting) c.change();
        advance(60);
        EXPECT_EQ(outcome.calls, 1);
        EXPECT_EQ(outcome.restored(), static_cast<int>(layout.windows.size()) - c.skipped);
    }
}

TEST_F(LayoutRestoreTest, RefusalsAndAStoreThatIsGoneStillReportOnce) {
    const WorkspaceLayout& layout = capture();
    Outcome unknown;
    store->restore(platform::Uuid::random(), unknown.completion());
    ASSERT_EQ(unknown.calls, 1) << "at once";
    EXPECT_EQ(unknown.result->error().message, errorDescription(AppError::layoutNotFound));

    setup.grantAccessibility(false);
    Outcome untrusted = restore(layout);
    ASSERT_EQ(untrusted.calls, 1);
    EXPECT_EQ(untrusted.result->error().message, errorDescription(AppError::accessibilityRequired));
    setup.grantAccessibility();

    Outcome orphaned = restore(layout);
    store.reset();
    advance(10);
    ASSERT_EQ(orphaned.calls, 1);
    EXPECT_FALSE(orphaned.result->ok());
}

TEST_F(LayoutRestoreTest, WindowsOfARemovedScreenLandOnTheRemainingOneScaledToItsVisibleArea) {
    const WorkspaceLayout& layout = capture();
    desktop.screens().removeScreen(studio);
    ASSERT_EQ(ScreenGeometry::toAccessibility(setup.primaryScreen()->visibleFrame()), AXRect(0, 24, 1440, 876));
    Outcome outcome = restore(layout);
    advance(5);
    ASSERT_EQ(outcome.calls, 1);
    EXPECT_EQ(outcome.restored(), 4);
    // 1920 × 1080 onto 1440 × 876: three quarters across, 876/1080 down,
    // rounded out to whole points.
    EXPECT_EQ(draft->frame(), AXRect(120, 251, 750, 568));
    EXPECT_EQ(notes->frame(), AXRect(100, 100, 800, 600)) << "windows of the remaining screen stay";
}

// A layouts.json edited by hand may name anything as a document; only
// existing files and web addresses are ever opened.
TEST_F(LayoutRestoreTest, TamperedDocumentAddressesAreNeverOpened) {
    const fs::path existing = home() / "kept.txt";
    std::ofstream(existing) << "text";
    struct Case {
        std::string url;
        bool opened;
    } cases[] = {
        {"javascript:alert(document.cookie)", false},
        {"file:///no/such/file.txt", false},
        {"x-apple.systempreferences:com.apple.preference.security", false},
        {"ftp://example.com/a.txt", false},
        {"https://example.com/page", true},
        {"http://example.com/page", true},
        {"file://" + existing.string(), true},
        {"file://" + home().string() + "/./sub/../kept.txt", false},  // the same document: opened once
    };
    WorkspaceLayout layout{platform::Uuid::random(), "Tampered", platform::Date(), {}};
    for (const Case& c : cases) {
        layout.windows.push_back({.bundleIdentifier = "com.example.viewer",
                                  .appName = "Viewer",
                                  .title = "",
                                  .documentURL = c.url,
                                  .frame = {0, 30, 400, 300}});
    }
    store->layouts.insert(store->layouts.begin(), layout);
    Outcome outcome = restore(layout);
    std::vector<std::string> expected;
    for (const Case& c : cases) {
        if (c.opened) expected.push_back(c.url);
    }
    EXPECT_EQ(desktop.workspace().openedURLs(), expected);
    advance(10);
    EXPECT_EQ(outcome.calls, 1);
}

TEST_F(LayoutRestoreTest, ScreenMappingKeepsTheRelativePlaceWithinLimits) {
    const auto primary = setup.primaryScreen();
    const StoredRect primaryVisible{0, 24, 1440, 876};
    const StoredRect studioVisible{1440, -180, 1920, 1080};
    struct Case {
        const char* what;
        StoredRect frame;
        std::optional<std::uint32_t> screen;
        std::optional<StoredRect> screenFrame;
        AXRect expected;
    } cases[] = {
        {"no saved screen: as saved", {5, 6, 100, 60}, std::nullopt, std::nullopt, {5, 6, 100, 60}},
        {"a saved screen of no size: as saved", {5, 6, 100, 60}, 1, StoredRect{0, 0, 0, 10}, {5, 6, 100, 60}},
        {"small window grows to 160 × 100", {100, 100, 100, 60}, primary->displayID(), primaryVisible,
         {100, 100, 160, 100}},
        {"found by display number", {1600, 100, 1000, 700}, studio->displayID(), studioVisible,
         {1600, 100, 1000, 700}},
        {"unknown number: the nearest screen by place and size", {1600, 100, 1000, 700}, 999,
         StoredRect{1500, -100, 1900, 1000}, {1541, 36, 1011, 756}},
        {"kept inside the visible area", {1300, 800, 400, 300}, primary->displayID(), primaryVisible,
         {1040, 600, 400, 300}},
        {"origin rounded down, far edges up", {10.6, 30.2, 200.1, 150.5}, primary->displayID(), primaryVisible,
         {10, 30, 201, 151}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WindowSnapshot window{.frame = c.frame, .screenIdentifier = c.screen, .screenFrame = c.screenFrame};
        EXPECT_EQ(LayoutScreenMapping::targetFrame(window), c.expected);
    }
}

TEST_F(LayoutRestoreTest, SavedWindowsTakeLiveWindowsByDocumentTitleThenPosition) {
    auto viewer = setup.addApplication({.bundleIdentifier = "com.example.viewer", .name = "Viewer"});
    auto a = viewer->addWindow({.title = "Same", .frame = {0, 30, 300, 200}});
    auto b = viewer->addWindow({.title = "Same", .frame = {0, 30, 300, 200}});
    auto doc = viewer->addWindow({.title = "x", .frame = {0, 30, 300, 200}, .document = "/tmp/d.txt"});
    const auto live = Accessibility::windows(viewer->processIdentifier());
    ASSERT_EQ(live.size(), 3u);
    auto snapshot = [](std::string title, std::optional<std::string> document, std::int64_t index, double x) {
        return WindowSnapshot{.bundleIdentifier = "com.example.viewer",
                              .appName = "Viewer",
                              .title = std::move(title),
                              .documentURL = std::move(document),
                              .windowIndex = index,
                              .frame = {x, 40, 300, 200}};
    };
    WorkspaceLayout layout{platform::Uuid::random(), "Match", platform::Date(),
                           {snapshot("renamed", "file:///tmp/./d.txt", 0, 700), snapshot("Same", std::nullopt, 9, 100),
                            snapshot("Same", std::nullopt, 9, 200), snapshot("gone", std::nullopt, 9, 300)}};
    store->layouts.insert(store->layouts.begin(), layout);
    Outcome outcome = restore(layout);
    advance(5);
    EXPECT_EQ(doc->frame().minX(), 700) << "same document";
    // The two "Same" windows, in the application's list order, take the two saved ones in order.
    // The application lists its windows front to back: b before a.
    EXPECT_EQ(b->frame().minX(), 100) << "the first saved \"Same\" takes the first live one";
    EXPECT_EQ(a->frame().minX(), 200);
    EXPECT_EQ(outcome.restored(), 3) << "the fourth saved window found no free live window";
}

// A window saved in the Dock is moved while out of it, sent back, counted,
// and never raised; with nothing to raise the report comes 0.25 s after
// the windows were placed.
TEST_F(LayoutRestoreTest, AMinimisedWindowIsPlacedThenMinimisedAndNotRaised) {
    WorkspaceLayout layout{platform::Uuid::random(), "Docked", platform::Date(),
                           {{.bundleIdentifier = "com.example.terminal",
                             .appName = "Terminal",
                             .title = "zsh",
                             .frame = {50, 60, 700, 500},
                             .minimized = true}}};
    store->layouts.insert(store->layouts.begin(), layout);
    Outcome outcome = restore(layout);
    advance(0.2);
    EXPECT_TRUE(shell->isMinimized());
    EXPECT_EQ(shell->frame(), AXRect(50, 60, 700, 500));
    EXPECT_EQ(front(), notes) << "not raised";
    advance(0.249);
    EXPECT_EQ(outcome.calls, 0);
    advance(0.002);
    ASSERT_EQ(outcome.calls, 1);
    EXPECT_EQ(outcome.restored(), 1);
    EXPECT_EQ(front(), notes);
}

TEST_F(LayoutRestoreTest, AWindowThatRefusesItsFrameIsRaisedButNotCounted) {
    shell->setResizable(false);
    WorkspaceLayout layout{platform::Uuid::random(), "Stubborn", platform::Date(),
                           {{.bundleIdentifier = "com.example.terminal",
                             .appName = "Terminal",
                             .title = "zsh",
                             .frame = {50, 60, 700, 500}}}};
    store->layouts.insert(store->layouts.begin(), layout);
    Outcome outcome = restore(layout);
    advance(5);
    ASSERT_EQ(outcome.calls, 1);
    EXPECT_EQ(outcome.restored(), 0);
    EXPECT_EQ(front(), shell);
}

}  // namespace
}  // namespace tallowmere
