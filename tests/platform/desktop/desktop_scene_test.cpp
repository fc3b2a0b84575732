#include "platform/desktop/desktop_scene.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/system/files.h"
#include "support/desktop/simulated_desktop_test.h"

namespace tallowmere::testing {
namespace {

namespace fs = std::filesystem;
using platform::AXPoint;
using platform::AXRange;
using platform::AXRect;
using platform::DesktopScene;
using platform::ScreenPoint;
using platform::ScreenRect;

fs::path sampleScene(const char* name) { return fs::path(TALLOWMERE_SOURCE_DIR) / "resources/desktop" / name; }

class DesktopSceneTest : public SimulatedDesktopTest {
  protected:
    // Loads a scene file onto the fixture's desktop; a failure fails the test.
    void put(const fs::path& file) {
        auto scene = DesktopScene::load(file, home());
        ASSERT_TRUE(scene.ok()) << scene.error().message;
        auto applied = scene->apply(desktop);
        ASSERT_TRUE(applied.ok()) << applied.error().message;
    }
    std::string homeURL(const std::string& rest) const { return "file://" + home().string() + rest; }

    // "Finder: title @ {x, y, w, h}" for each on-screen window of the
    // scene's applications, front to back.
    std::vector<std::string> windowLines() const {
        std::vector<std::string> lines;
        for (const auto& window : desktop.windowServer().orderedWindows()) {
            const AXRect f = window->axFrame();
            char frame[96];
            std::snprintf(frame, sizeof frame, "{%g, %g, %g, %g}", f.minX(), f.minY(), f.width(), f.height());
            lines.push_back(window->application()->name() + ": " + window->title() + " @ " + frame);
        }
        return lines;
    }
};

TEST_F(DesktopSceneTest, DefaultSceneHasTheHomeFolderTheEditorsTextAndEveryApplicationRunning) {
    auto scene = DesktopScene::parse(DesktopScene::defaultSceneText(), home());
    ASSERT_TRUE(scene.ok()) << scene.error().message;
    ASSERT_TRUE(scene->apply(desktop).ok());

    const auto screens = desktop.screens().screens();
    ASSERT_EQ(screens.size(), 1u);
    EXPECT_EQ(screens[0]->frame(), (ScreenRect{0, 0, 1440, 900}));
    EXPECT_TRUE(screens[0]->isBuiltIn());
    EXPECT_EQ(screens[0]->visibleFrame(), (ScreenRect{0, 64, 1440, 812})) << "less the menu bar and the Dock";
    EXPECT_TRUE(desktop.accessibility().isProcessTrusted());

    EXPECT_EQ(windowLines(), (std::vector<std::string>{
                                 "TextEdit: Notes.txt @ {760, 360, 600, 420}",
                                 "Terminal: ~ — zsh — 80×24 @ {100, 470, 620, 340}",
                                 "Google Chrome: Welcome @ {520, 50, 880, 560}",
                                 "Finder: " + home().filename().string() + " @ {60, 70, 720, 440}",
                             }));
    auto finder = desktop.application("com.apple.finder");
    ASSERT_TRUE(finder && finder->mainWindow());
    EXPECT_EQ(finder->mainWindow()->document(), homeURL("/"));

    auto editor = desktop.frontmostApplication();
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->bundleIdentifier(), "com.apple.TextEdit");
    EXPECT_EQ(editor->mainWindow()->document(), homeURL("/Documents/Notes.txt"));
    auto focused = editor->focusedElement();
    ASSERT_TRUE(focused && focused->isTextElement());
    EXPECT_EQ(focused->selectedText(), "Select");
    auto browser = desktop.application("com.google.Chrome");
    EXPECT_EQ(desktop.applicationForScheme("https"), browser);
    ASSERT_TRUE(browser->applicationSpec().browser) << "the browser runs page scripts";
    auto page = browser->focusedElement();
    ASSERT_TRUE(page && page->isTextElement());
    EXPECT_EQ(page->role(), "AXWebArea");
    EXPECT_EQ(page->attributedValue().runs().size(), 4u) << "its page has styled text";
    EXPECT_EQ(desktop.applicationForExtension("txt"), editor);
}

TEST_F(DesktopSceneTest, TwoScreenSceneStacksTheLargerScreenAboveWithNegativeAccessibilityY) {
    put(sampleScene("two-screens.json"));

    const auto screens = desktop.screens().screens();
    ASSERT_EQ(screens.size(), 2u);
    EXPECT_EQ(screens[1]->frame(), (ScreenRect{-240, 900, 1920, 1080}));
    EXPECT_EQ(screens[1]->visibleFrame(), (ScreenRect{-240, 900, 1920, 1055})) << "as the scene gives it";
    EXPECT_EQ(screens[1]->backingScaleFactor(), 1);
    EXPECT_FALSE(screens[1]->isBuiltIn());
    EXPECT_EQ(desktop.input().mouseLocation(), (ScreenPoint{720, 1400}));

    auto editor = desktop.application("com.apple.TextEdit");
    ASSERT_TRUE(editor);
    const auto windows = editor->windows();
    ASSERT_EQ(windows.size(), 2u);
    EXPECT_EQ(windows[0]->axFrame(), (AXRect{100, -900, 900, 600}));
    EXPECT_EQ(desktop.screens().screenContaining(windows[0]->screenFrame().center()), screens[1]);
    EXPECT_TRUE(windows[1]->isMinimized());
    EXPECT_FALSE(windows[1]->isOnScreen());
    EXPECT_EQ(editor->focusedElement()->selectedRange(), (AXRange{8, 5}));
    EXPECT_EQ(windowLines().size(), 2u) << "the minimised window is in the Dock";
}

TEST_F(DesktopSceneTest, ScenesThatDoNotDescribeADesktopAreRefusedAtTheBadMember) {
    const std::string screen = R"({"frame": {"x": 0, "y": 0, "width": 1440, "height": 900}})";
    auto withApps = [&](const std::string& apps) {
        return R"({"screens": [)" + screen + R"(], "applications": [)" + apps + "]}";
    };
    struct Case {
        const char* what;
        std::string json;
        const char* message;
    } cases[] = {
        {"not JSON", "{\"screens\": [", "$: not JSON"},
        {"no screens", "{}", "$.screens: is missing"},
        {"an unknown member", R"({"screens": [)" + screen + R"(], "acessibilityTrusted": true})",
         "$.acessibilityTrusted: is not a member"},
        {"a member of the wrong type", R"({"screens": [)" + screen + R"(], "accessibilityTrusted": "yes"})",
         "$.accessibilityTrusted: should be true or false"},
        {"a primary screen away from the origin", R"({"screens": [{"frame": {"x": 5, "y": 0, "width": 9, "height": 9}}]})",
         "$.screens[0].frame: the primary screen's origin"},
        {"overlapping screens",
         R"({"screens": [)" + screen + R"(, {"frame": {"x": 1000, "y": 0, "width": 800, "height": 600}}]})",
         "$.screens[1].frame: overlaps screen 0"},
        {"a window with no frame", withApps(R"({"name": "A", "bundleIdentifier": "a", "windows": [{"title": "x"}]})"),
         "$.applications[0].windows[0].frame: is missing"},
        {"a negative size",
         withApps(R"({"name": "A", "bundleIdentifier": "a", "windows": [{"frame": {"x": 0, "y": 0, "width": -5, "height": 9}}]})"),
         "$.applications[0].windows[0].frame.width: should be greater than 0"},
        {"an unknown window member",
         withApps(R"({"name": "A", "bundleIdentifier": "a", "windows": [{"frame": {"x": 0, "y": 0, "width": 5, "height": 9}, "zoomed": true}]})"),
         "$.applications[0].windows[0].zoomed: is not a member"},
        {"window content that is not text",
         withApps(R"({"name": "A", "bundleIdentifier": "a", "windows": [{"frame": {"x": 0, "y": 0, "width": 5, "height": 9}, "content": 5}]})"),
         "$.applications[0].windows[0].content: should be"},
        {"a duplicate bundle identifier",
         withApps(R"({"name": "A", "bundleIdentifier": "a"}, {"name": "B", "bundleIdentifier": "a"})"),
         "$.applications[1].bundleIdentifier: \"a\" is used by application 0 too"},
        {"the program's own bundle identifier", withApps(R"({"name": "A", "bundleIdentifier": "com.quenlow.tallowmere"})"),
         "$.applications[0].bundleIdentifier: \"com.quenlow.tallowmere\" is the program's own"},
        {"a relative document path",
         withApps(R"({"name": "A", "bundleIdentifier": "a", "windows": [{"frame": {"x": 0, "y": 0, "width": 5, "height": 9}, "document": "Notes.txt"}]})"),
         "$.applications[0].windows[0].document: should be an absolute path"},
        {"a selection past the text",
         withApps(R"({"name": "A", "bundleIdentifier": "a", "windows": [{"frame": {"x": 0, "y": 0, "width": 5, "height": 9}, "focusedText": {"text": "中文", "selection": {"location": 1, "length": 2}}}]})"),
         "$.applications[0].windows[0].focusedText.selection: reaches past the end"},
        {"style runs past the text",
         withApps(R"({"name": "A", "bundleIdentifier": "a", "windows": [{"frame": {"x": 0, "y": 0, "width": 5, "height": 9}, "focusedText": {"text": "ab", "styleRuns": [{"length": 3}]}}]})"),
         "$.applications[0].windows[0].focusedText.styleRuns: cover more than the text"},
        {"a style colour that is no colour",
         withApps(R"({"name": "A", "bundleIdentifier": "a", "windows": [{"frame": {"x": 0, "y": 0, "width": 5, "height": 9}, "focusedText": {"text": "ab", "styleRuns": [{"length": 2, "color": "red"}]}}]})"),
         "$.applications[0].windows[0].focusedText.styleRuns[0].color: should be a colour"},
        {"a browser that answers neither way",
         withApps(R"({"name": "A", "bundleIdentifier": "a", "browser": {"responds": "sometimes"}})"),
         "$.applications[0].browser.responds: should be \"yes\""},
        {"two frontmost applications",
         withApps(R"({"name": "A", "bundleIdentifier": "a", "frontmost": true}, {"name": "B", "bundleIdentifier": "b", "frontmost": true})"),
         "$.applications[1].frontmost: application 0 is frontmost too"},
        {"a frontmost application that does not run",
         withApps(R"({"name": "A", "bundleIdentifier": "a", "running": false, "frontmost": true})"),
         "$.applications[0].frontmost: needs the application running"},
        {"a pointer off every screen", R"({"screens": [)" + screen + R"(], "pointer": {"x": 2000, "y": 10}})",
         "$.pointer: should lie on a screen"},
        {"an unknown calendar access", R"({"screens": [)" + screen + R"(], "calendar": {"access": "granted"}})",
         "$.calendar.access: should be \"notDetermined\""},
        {"an event without a start",
         R"({"screens": [)" + screen + R"(], "calendar": {"calendars": [{"title": "工作", "events": [{"title": "周会"}]}]}})",
         "$.calendar.calendars[0].events[0].start: is missing"},
        {"an event at a time that is no time",
         R"({"screens": [)" + screen + R"(], "calendar": {"calendars": [{"title": "工作", "events": [{"start": "2026-10-01 09:00"}]}]}})",
         "$.calendar.calendars[0].events[0].start: should be a date and time"},
        {"an event that ends before it starts",
         R"({"screens": [)" + screen +
             R"(], "calendar": {"calendars": [{"title": "工作", "events": [{"start": "2026-10-01T09:00:00+08:00", "end": "2026-10-01T08:00:00+08:00"}]}]}})",
         "$.calendar.calendars[0].events[0].end: should not be before the start"},
        {"a status item without a title",
         withApps(R"({"name": "A", "bundleIdentifier": "a", "statusItems": [{"width": 20}]})"),
         "$.applications[0].statusItems[0].title: is missing"},
        {"a player that does not run",
         withApps(R"({"name": "A", "bundleIdentifier": "a", "running": false, "playing": true})"),
         "$.applications[0].playing: needs the application running"},
        {"a function the framework never had",
         R"({"screens": [)" + screen + R"(], "media": {"missingFunctions": ["MRPlay"]}})",
         "$.media.missingFunctions[0]: is not a function"},
        {"a version that is no version",
         R"({"screens": [)" + screen + R"(], "media": {"systemVersion": "14.x"}})",
         "$.media.systemVersion: should be a version"},
        {"a selected input source that is not listed",
         R"({"screens": [)" + screen + R"(], "inputSources": {"sources": [{"id": "a", "name": "A"}], "selected": "b"}})",
         "$.inputSources.selected: should be the id of one of the sources"},
        {"two calendars of one title",
         R"({"screens": [)" + screen + R"(], "calendar": {"calendars": [{"title": "工作"}, {"title": "工作"}]}})",
         "$.calendar.calendars[1].title: is used by calendar 0 too"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path file = home() / "scene.json";
        ASSERT_TRUE(platform::Files::writeAtomically(file, c.json, 0600).ok());
        auto scene = DesktopScene::load(file, home());
        ASSERT_FALSE(scene.ok());
        EXPECT_EQ(scene.error().message.rfind(file.string() + ": " + c.message, 0), 0u) << scene.error().message;
    }
    // "~" stands for the home folder however it is written.
    for (const std::string& written : {home().string(), home().string() + "/"}) {
        auto scene = DesktopScene::parse(withApps(R"({"name": "A", "bundleIdentifier": "a", "bundlePath": "~/Applications/A.app"})"),
                                         written);
        ASSERT_TRUE(scene.ok()) << scene.error().message;
        EXPECT_EQ(scene->applications[0].spec.bundlePath, home().string() + "/Applications/A.app");
    }
    auto missing = DesktopScene::load(home() / "nowhere.json", home());
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error().message.rfind((home() / "nowhere.json").string() + ": ", 0), 0u);
}

TEST_F(DesktopSceneTest, TheMenuBarScenesItemsPlayerAndInputSourcesReachTheDesktop) {
    put(sampleScene("menu-bar.json"));
    std::vector<std::string> titles;
    for (const auto& item : desktop.statusArea().items()) titles.push_back(item.spec.title);
    EXPECT_EQ(titles, (std::vector<std::string>{"☁︎", "⇅", "Wi"})) << "right to left, in the scene's order";
    EXPECT_EQ(desktop.statusArea().items()[2].spec.bundleIdentifier, "com.example.NetMeter");

    auto player = desktop.application("com.netease.163music");
    ASSERT_TRUE(player && player->isRunning());
    auto& audio = desktop.audio();
    const auto object = audio.objectOfProcess(player->processIdentifier());
    ASSERT_TRUE(object);
    std::uint32_t running = 0;
    ASSERT_EQ(audio.isRunningOutput(*object, running), 0);
    EXPECT_EQ(running, 1u);
    EXPECT_TRUE(desktop.nowPlaying().isPlaying());
    EXPECT_TRUE(audio.systemVersion().isAtLeast(15, 1));
    // A pause reaching the player stops its sound too.
    desktop.nowPlaying().sendCommand(platform::NowPlayingService::togglePlayPauseCommand);
    ASSERT_EQ(audio.isRunningOutput(*object, running), 0);
    EXPECT_EQ(running, 0u);

    auto& sources = desktop.inputSources();
    EXPECT_EQ(sources.list(true, true, true).size(), 3u) << "the disabled source is not offered";
    EXPECT_EQ(sources.selectedID(), "com.apple.keylayout.ABC");
    EXPECT_TRUE(sources.selections().empty()) << "the scene's selection is no selection by the program";
    // A quitting application takes its items along.
    desktop.application("com.example.NetMeter")->terminate();
    EXPECT_EQ(desktop.statusArea().items().size(), 1u);
}

TEST_F(DesktopSceneTest, CalendarsAndTheirAccessReachTheDesktop) {
    auto scene = DesktopScene::parse(R"({
        "screens": [{"frame": {"x": 0, "y": 0, "width": 1440, "height": 900}}],
        "calendar": {"access": "writeOnly", "calendars": [
            {"title": "工作", "events": [{"title": "周会", "start": "2026-10-09T09:30:00+08:00"},
                                        {"start": "2026-10-09T14:00:00+08:00", "end": "2026-10-09T14:30:00+08:00"}]},
            {"title": "家庭", "events": [{"title": "出游", "start": "2026-10-02T00:00:00+08:00", "allDay": true}]},
            {"title": "空"}]}})",
                                     home());
    ASSERT_TRUE(scene.ok()) << scene.error().message;
    ASSERT_TRUE(scene->apply(desktop).ok());
    auto& calendars = desktop.calendars();
    EXPECT_EQ(calendars.authorizationStatus(), platform::CalendarAuthorizationStatus::writeOnly);
    ASSERT_EQ(calendars.calendars().size(), 3u);
    EXPECT_EQ(calendars.calendars()[2].title, "空");
    const auto& events = calendars.allEvents();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].title, "周会");
    EXPECT_EQ(events[0].endDate.timeIntervalSince(events[0].startDate), 3600) << "an hour when no end is given";
    EXPECT_FALSE(events[1].title) << "an event may have no title";
    EXPECT_EQ(events[1].endDate.timeIntervalSince(events[1].startDate), 1800);
    EXPECT_TRUE(events[2].isAllDay);
    EXPECT_EQ(events[2].endDate.timeIntervalSince(events[2].startDate), 86400) << "an all-day event lasts its day";
    EXPECT_EQ(events[2].calendarIdentifier, calendars.calendars()[1].identifier);
}

TEST_F(DesktopSceneTest, APressAndDragInAnotherApplicationsTextSelectsWhatLiesUnderThePointer) {
    const std::string scene = R"({"screens": [{"frame": {"x": 0, "y": 0, "width": 1440, "height": 900}}],
        "applications": [{"name": "Editor", "bundleIdentifier": "com.example.editor", "frontmost": true,
          "windows": [{"frame": {"x": 100, "y": 100, "width": 600, "height": 400},
                       "focusedText": {"text": "Hello world\n中文 text"}}]}]})";
    auto parsed = DesktopScene::parse(scene, home());
    ASSERT_TRUE(parsed.ok()) << parsed.error().message;
    ASSERT_TRUE(parsed->apply(desktop).ok());
    auto text = desktop.frontmostApplication()->focusedElement();
    ASSERT_TRUE(text && text->isTextElement());

    // The test's text measure: 13 pt text advances 6.5 pt a character (13
    // for a wide one), lines are 15.6 pt high, 8 pt in from the text's
    // corner, which is the window's less its 28 pt title bar.
    auto at = [&](double advance, int line) {
        return desktop.screens().toScreen(AXPoint{100 + 8 + advance, 100 + 28 + 8 + 15.6 * line + 5});
    };
    struct Case {
        const char* what;
        ScreenPoint from, to;
        std::string selected;
        AXRange range;
    } cases[] = {
        {"a word", at(6 * 6.5, 0), at(11 * 6.5, 0), "world", {6, 5}},
        {"onto the next line, after a wide character", at(6 * 6.5, 0), at(13, 1), "world\n中", {6, 7}},
        {"backwards from the press", at(6 * 6.5, 0), at(2 * 6.5, 0), "llo ", {2, 4}},
        {"to the nearest boundary", at(1.4 * 6.5, 0), at(3.6 * 6.5, 0), "ell", {1, 3}},
        {"past the end of a line", at(0, 1), at(400, 1), "中文 text", {12, 7}},
        {"a press without a drag leaves the caret", at(5 * 6.5, 0), at(5 * 6.5, 0), "", {5, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        mouse.drag(c.from, c.to, 4);
        EXPECT_EQ(text->selectedText(), c.selected);
        EXPECT_EQ(text->selectedRange(), c.range);
    }

    struct Click {
        const char* what;
        ScreenPoint at;
        int clicks;
        std::string selected;
    } clicks[] = {
        {"a double click takes the word", at(8 * 6.5, 0), 2, "world"},
        {"a double click on a space takes the space", at(5.2 * 6.5, 0), 2, " "},
        {"a double click in Chinese takes the dictionary word", at(6.5, 1), 2, "中文"},
        {"a double click past the line's end takes its last word", at(400, 0), 2, "world"},
        {"a triple click takes the line with its end", at(2 * 6.5, 0), 3, "Hello world\n"},
        {"a triple click on the last line takes it to the end", at(13, 1), 3, "中文 text"},
    };
    for (const Click& c : clicks) {
        SCOPED_TRACE(c.what);
        mouse.moveTo(c.at);
        mouse.press(MouseButton::left, c.clicks);
        mouse.release();
        EXPECT_EQ(text->selectedText(), c.selected);
    }
}

}  // namespace
}  // namespace tallowmere::testing
