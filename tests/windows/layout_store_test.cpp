#include "windows/layout_store.h"

#include <gtest/gtest.h>

#include <fstream>

#include "app/app_error.h"
#include "platform/base/iso8601.h"
#include "platform/desktop/desktop.h"
#include "platform/system/files.h"
#include "support/command_run.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere {
namespace {

namespace fs = std::filesystem;
using platform::ActivationPolicy;
using platform::AXRect;
using platform::WindowSpec;

class LayoutStoreTest : public testing::DesktopTest {
protected:
    LayoutStoreTest() { setup.grantAccessibility(); }

    fs::path layoutsFile() const { return home() / "Library/Application Support/Perrowgate/layouts.json"; }
    void writeLayoutsFile(const std::string& text) {
        fs::create_directories(layoutsFile().parent_path());
        std::ofstream(layoutsFile()) << text;
    }
    std::shared_ptr<LayoutStore> makeStore() { return std::make_shared<LayoutStore>(); }
    // The window server's front-to-back position of a window.
    int stackPosition(const platform::SimulatedWindow& window) {
        using namespace platform::WindowListOption;
        const auto list = desktop.windowServer().windowList(onScreenOnly | excludeDesktopElements);
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (list[i].windowNumber == window.windowNumber()) return static_cast<int>(i);
        }
        return -1;
    }
};

// Three applications on two screens, as python3's json reads the file back.
TEST_F(LayoutStoreTest, CaptureRecordsEveryQualifyingWindowAndWritesTheFileOtherReadersExpect) {
    const auto studio = setup.addScreen({.frame = {1440, 0, 1920, 1080}, .localizedName = "Studio", .isBuiltIn = false});
    auto editor = setup.addApplication({.bundleIdentifier = "com.example.editor", .name = "Editor"});
    auto browser = setup.addApplication({.bundleIdentifier = "com.example.browser", .name = "Browser"});
    auto terminal = setup.addApplication({.bundleIdentifier = "com.example.terminal", .name = "Terminal"});
    auto helper = setup.addApplication(
        {.bundleIdentifier = "com.example.helper", .name = "Helper", .activationPolicy = ActivationPolicy::accessory});
    helper->addWindow({.title = "Helper", .frame = {50, 50, 400, 300}});
    auto notes = editor->addWindow({.title = "notes.txt", .frame = {100, 100, 800, 600}, .document = "/tmp/notes.txt"});
    auto palette = editor->addWindow({.title = "Palette", .frame = {0, 40, 80, 300}});
    auto draft = editor->addWindow({.title = "Draft", .frame = {1600, 100, 1000, 700}});
    auto page = browser->addWindow({.title = "Start", .frame = {200, 60, 1000, 780}});
    auto shell = terminal->addWindow({.title = "zsh", .frame = {300, 300, 81, 51}, .minimized = true});
    page->raise();

    auto store = makeStore();
    ASSERT_TRUE(store->capture("  Desk \n").ok());
    ASSERT_EQ(store->layouts.size(), 1u);
    const WorkspaceLayout& layout = store->layouts.front();
    EXPECT_EQ(layout.name, "Desk");
    ASSERT_EQ(layout.windows.size(), 4u) << "the accessory application and the 80-wide palette are left out";

    struct Expected {
        const char* title;
        std::int64_t windowIndex;
        std::optional<int> zIndex;
        std::optional<std::uint32_t> screen;
    } expected[] = {
        {"Draft", 0, stackPosition(*draft), studio->displayID()},
        {"notes.txt", 2, stackPosition(*notes), setup.primaryScreen()->displayID()},
        {"Start", 0, stackPosition(*page), setup.primaryScreen()->displayID()},
        {"zsh", 0, std::nullopt, setup.primaryScreen()->displayID()},
    };
    (void)palette;
    (void)shell;
    for (std::size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(expected[i].title);
        const WindowSnapshot& w = layout.windows[i];
        EXPECT_EQ(w.title, expected[i].title);
        EXPECT_EQ(w.windowIndex, expected[i].windowIndex);
        EXPECT_EQ(w.zIndex, expected[i].zIndex) << "a minimised window has no on-screen entry";
        EXPECT_EQ(w.screenIdentifier, expected[i].screen);
    }
    EXPECT_EQ(layout.windows[0].screenFrame, (StoredRect{1440, -180, 1920, 1080}));
    EXPECT_EQ(layout.windows[1].documentURL, "file:///tmp/notes.txt");
    EXPECT_TRUE(layout.windows[3].minimized);

    const auto run = testing::runPython(R"(
import json, re, sys
text = open(sys.argv[1], encoding="utf-8").read()
def keys_in_order(pairs):
    names = [k for k, _ in pairs]
    assert names == sorted(names), names
    return dict(pairs)
layouts = json.loads(text, object_pairs_hook=keys_in_order)
assert len(layouts) == 1
layout = layouts[0]
assert sorted(layout) == ["createdAt", "id", "name", "windows"]
assert re.fullmatch(r"\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ", layout["createdAt"]), layout["createdAt"]
assert re.fullmatch(r"[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}", layout["id"]), layout["id"]
assert layout["name"] == "Desk"
required = {"appName", "bundleIdentifier", "frame", "minimized", "title", "windowIndex"}
for w in layout["windows"]:
    assert required <= set(w) <= required | {"documentURL", "screenFrame", "screenIdentifier", "zIndex"}, w
    assert sorted(w["frame"]) == ["height", "width", "x", "y"]
    assert isinstance(w["minimized"], bool) and isinstance(w["windowIndex"], int)
    assert all(isinstance(v, (int, float)) and not isinstance(v, bool) for v in w["frame"].values())
draft, notes, page, shell = layout["windows"]
assert draft["appName"] == "Editor" and draft["bundleIdentifier"] == "com.example.editor"
assert draft["screenFrame"] == {"x": 1440, "y": -180, "width": 1920, "height": 1080}
assert isinstance(draft["screenIdentifier"], int)
assert notes["documentURL"] == "file:///tmp/notes.txt"
assert "zIndex" not in shell and shell["minimized"] is True
assert "documentURL" not in page
assert text.startswith("[\n  {\n") and "null" not in text
print("ok")
)",
                                        "'" + layoutsFile().string() + "'");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output, "ok\n");
}

TEST_F(LayoutStoreTest, StackingEntriesAreMatchedByTitleThenByFrame) {
    struct Case {
        const char* what;
        bool namesListed;  // the window server gives names only with screen-capture access
        WindowSpec first, second;
        bool firstTakesFrontEntry;
    } cases[] = {
        {"titles decide", true, {.title = "A", .frame = {0, 30, 500, 400}}, {.title = "B", .frame = {0, 30, 500, 400}},
         true},
        {"without names the nearest frame decides, even offset by a title bar", false,
         {.title = "A", .frame = {600, 60, 500, 400}, .serverBoundsOffset = {0, -28, 0, 28}},
         {.title = "B", .frame = {0, 60, 500, 400}, .serverBoundsOffset = {0, -28, 0, 28}}, true},
        {"equal titles and frames: the first listed takes the front entry", true,
         {.title = "Same", .frame = {0, 30, 500, 400}}, {.title = "Same", .frame = {0, 30, 500, 400}}, true},
    };
    int number = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        setup.grantScreenCapture(c.namesListed);
        const std::string name = "App" + std::to_string(++number);
        auto app = setup.addApplication({.bundleIdentifier = "com.example." + name, .name = name});
        auto first = app->addWindow(c.first);
        auto second = app->addWindow(c.second);
        first->raise();
        auto store = makeStore();
        ASSERT_TRUE(store->capture("x").ok());
        std::vector<const WindowSnapshot*> mine;
        for (const auto& w : store->layouts.front().windows) {
            if (w.bundleIdentifier == app->bundleIdentifier()) mine.push_back(&w);
        }
        ASSERT_EQ(mine.size(), 2u);
        const int front = stackPosition(*first), back = stackPosition(*second);
        EXPECT_EQ(mine[0]->zIndex, c.firstTakesFrontEntry ? front : back);
        EXPECT_EQ(mine[1]->zIndex, c.firstTakesFrontEntry ? back : front);
        app->terminate();
    }
}

TEST_F(LayoutStoreTest, CaptureRefusesWithoutTrustOrWindowsAndNamesBlankLayoutsByCount) {
    auto store = makeStore();
    setup.grantAccessibility(false);
    auto refused = store->capture("x");
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error().message, errorDescription(AppError::accessibilityRequired));
    setup.grantAccessibility();
    auto empty = store->capture("x");
    ASSERT_FALSE(empty.ok());
    EXPECT_EQ(empty.error().message, errorDescription(AppError::noWindows));
    EXPECT_TRUE(store->layouts.empty());
    EXPECT_FALSE(fs::exists(layoutsFile())) << "a refused capture writes nothing";

    auto app = setup.addApplication({.bundleIdentifier = "com.example.editor", .name = "Editor"});
    app->addWindow({.title = "A"});
    ASSERT_TRUE(store->capture("First").ok());
    ASSERT_TRUE(store->capture(" \n\t ").ok());
    EXPECT_EQ(store->layouts.front().name, "Workspace 2") << "the default name in the interface language";
    EXPECT_NE(store->layouts[0].id, store->layouts[1].id);
    EXPECT_EQ(store->layouts[1].name, "First");
}

TEST_F(LayoutStoreTest, LoadsNewestFirstAndDeletesByIdRewritingTheFile) {
    auto layout = [](const char* id, const char* date) {
        return std::string(R"({"id":")") + id + R"(","name":"L","createdAt":")" + date +
               R"(","windows":[{"appName":"E","bundleIdentifier":"e","title":"","windowIndex":0,)"
               R"("frame":{"x":0,"y":0,"width":100,"height":100},"minimized":false}]})";
    };
    const char* a = "00000000-0000-0000-0000-00000000000A";
    const char* b = "00000000-0000-0000-0000-00000000000B";
    const char* c = "00000000-0000-0000-0000-00000000000C";
    writeLayoutsFile("[" + layout(a, "2026-01-01T00:00:00Z") + "," + layout(b, "2026-03-01T00:00:00Z") + "," +
                     layout(c, "2026-01-01T00:00:00Z") + "]");
    auto store = makeStore();
    std::vector<std::string> ids;
    for (const auto& l : store->layouts) ids.push_back(l.id.uuidString());
    EXPECT_EQ(ids, (std::vector<std::string>{b, a, c})) << "newest first; equal dates keep the file's order";

    ASSERT_TRUE(store->deleteLayout(*platform::Uuid::fromString(a)).ok());
    ASSERT_TRUE(store->deleteLayout(platform::Uuid::random()).ok()) << "an unknown id is no error";
    auto reread = makeStore();
    ASSERT_EQ(reread->layouts.size(), 2u);
    EXPECT_EQ(reread->layouts[0].id.uuidString(), b);
    EXPECT_EQ(reread->layouts[1].id.uuidString(), c);
}

// A file damaged by hand is not lost: it is moved aside before the first
// write, and the store starts empty.
TEST_F(LayoutStoreTest, UnreadableFileIsKeptAsideBeforeAnythingOverwritesIt) {
    const std::string tampered =
        R"([{"id":"00000000-0000-0000-0000-00000000000A","name":"L","createdAt":"2026-01-31T08:15:00.5Z",)"
        R"("windows":[]}])";
    writeLayoutsFile(tampered);
    auto store = makeStore();
    EXPECT_TRUE(store->layouts.empty());
    std::vector<fs::path> kept;
    for (const auto& entry : fs::directory_iterator(layoutsFile().parent_path())) {
        if (entry.path().filename().string().starts_with("layouts.json.unreadable-")) kept.push_back(entry.path());
    }
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(platform::Files::readText(kept.front()).value(), tampered);

    auto app = setup.addApplication({.bundleIdentifier = "com.example.editor", .name = "Editor"});
    app->addWindow({.title = "A"});
    ASSERT_TRUE(store->capture("New").ok());
    EXPECT_EQ(platform::Files::readText(kept.front()).value(), tampered) << "the kept copy stays as it was";
}

}  // namespace
}  // namespace tallowmere
