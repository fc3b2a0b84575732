#include "quicklaunch/quick_launch_panel.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "app/persistent_configuration.h"
#include "localization/interface_language.h"
#include "platform/desktop/pasteboard.h"
#include "platform/desktop/workspace.h"
#include "platform/system/files.h"
#include "platform/system/user_defaults.h"
#include "platform/ui/button.h"
#include "quicklaunch/quick_launch_store.h"
#include "support/desktop/desktop_fixture.h"
#include "support/geometry_printing.h"

namespace tallowmere {
namespace {

using platform::ScreenPoint;
using platform::ScreenRect;
using Trigger = QuickLaunchPanel::Trigger;

class QuickLaunchPanelTest : public testing::DesktopTest {
protected:
    QuickLaunchPanelTest() { InterfaceLanguage::setCurrent(InterfaceLanguage::simplifiedChinese); }

    // The list an earlier run left; the panel made next reads it.
    void storeList(const std::string& json) {
        const auto folder = home() / "Library/Application Support/Perrowgate";
        std::filesystem::create_directories(folder);
        ASSERT_TRUE(platform::Files::writeAtomically(folder / "quick-launch.json", json).ok());
        PersistentConfiguration::shared().setQuickLaunchData(platform::Data(json.begin(), json.end()));
        if (panel_) panel_->panel()->orderOut();
        panel_.reset();
    }
    QuickLaunchPanel& panel() {
        if (!panel_) panel_ = std::make_unique<QuickLaunchPanel>(std::make_shared<QuickLaunchStore>());
        return *panel_;
    }
    // Clicks the button of the open panel with that identifier.
    void click(const std::string& identifier) {
        auto view = panel().panel()->contentView()->findView(identifier);
        ASSERT_NE(view, nullptr) << identifier;
        auto button = std::dynamic_pointer_cast<platform::Button>(view);
        ASSERT_NE(button, nullptr);
        button->performClick();
    }

private:
    std::unique_ptr<QuickLaunchPanel> panel_;
};

TEST_F(QuickLaunchPanelTest, OpensCentredBelowThePointKeptInsideTheVisibleFrame) {
    ASSERT_FALSE(panel().panel()->isVisible());
    desktop.screens().setDock({platform::DockEdge::bottom, 70});  // visible y 70 ... 876
    ASSERT_TRUE(panel().show({700, 880}, setup.primaryScreen(), Trigger::menuBarDoubleClick));
    const platform::Size size = panel().panel()->frame().size;
    EXPECT_GT(size.width, 0);
    struct Case {
        const char* where;
        ScreenPoint point;
        ScreenPoint origin;
    } cases[] = {
        {"below the menu bar", {700, 880}, {700 - size.width / 2, 880 - 14 - size.height}},
        {"at the left edge", {5, 880}, {8, 880 - 14 - size.height}},
        {"at the right edge", {1435, 880}, {1440 - 8 - size.width, 880 - 14 - size.height}},
        {"near the Dock: lifted above it", {700, 100}, {700 - size.width / 2, 78}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        EXPECT_TRUE(panel().show(c.point, setup.primaryScreen(), Trigger::menuBarDoubleClick));
        EXPECT_TRUE(panel().panel()->isVisible());
        EXPECT_EQ(panel().panel()->frame(), (ScreenRect{c.origin, size}));
    }
    EXPECT_FALSE(panel().panel()->isKeyWindow()) << "the program is not brought forward";
}

TEST_F(QuickLaunchPanelTest, DeclinesWhenSwitchedOffOrWhenALongPressIsNotMeantForIt) {
    bool longPressAllowed = false;
    panel().allowsLongPress = [&] { return longPressAllowed; };
    EXPECT_FALSE(panel().show({700, 500}, setup.primaryScreen(), Trigger::longPress));
    EXPECT_FALSE(panel().panel()->isVisible());
    EXPECT_TRUE(panel().show({700, 500}, setup.primaryScreen(), Trigger::menuBarDoubleClick))
        << "the menu bar does not ask the long-press choice";
    longPressAllowed = true;
    EXPECT_TRUE(panel().show({700, 500}, setup.primaryScreen(), Trigger::longPress));

    platform::UserDefaults::standard().set("quickLaunchEnabled", false);
    EXPECT_FALSE(panel().show({700, 500}, setup.primaryScreen(), Trigger::menuBarDoubleClick));
    EXPECT_FALSE(panel().panel()->isVisible()) << "an open panel is taken away";
    platform::UserDefaults::standard().set("quickLaunchEnabled", "no");
    EXPECT_TRUE(panel().show({700, 500}, setup.primaryScreen(), Trigger::menuBarDoubleClick))
        << "a value that is no Boolean leaves quick launch on";
}


TEST_F(QuickLaunchPanelTest, TheGridHoldsTheEntriesAndThePlusTileInRowsOfFive) {
    struct Case {
        int entries;
        platform::Size size;
    } cases[] = {{0, {138, 130}}, {4, {546, 130}}, {5, {546, 224}}, {9, {546, 224}}, {10, {546, 318}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entries);
        std::string json = "[";
        for (int i = 0; i < c.entries; ++i) {
            json += std::string(i ? "," : "") + R"({"id":")" + platform::Uuid::random().uuidString() +
                    R"(","kind":"information","name":"n","target":"t"})";
        }
        storeList(json + "]");
        ASSERT_TRUE(panel().show({700, 600}, setup.primaryScreen(), Trigger::menuBarDoubleClick));
        EXPECT_EQ(panel().panel()->frame().size, c.size);
        const auto content = panel().panel()->contentView();
        ASSERT_NE(content->findView("addTile"), nullptr);
        // The "+" tile comes last, in the last row, inside the panel.
        const platform::Rect plus = content->findView("addTile")->frame();
        EXPECT_EQ(plus.size, (platform::Size{94, 84}));
        EXPECT_GE(plus.minY(), 0);
        EXPECT_LE(plus.maxX(), c.size.width);
    }
}

TEST_F(QuickLaunchPanelTest, EachTileDoesWhatItsKindSays) {
    setup.addApplication({.bundleIdentifier = "com.example.mail", .name = "Mail", .bundlePath = "/Applications/Mail.app",
                          .running = false});
    const std::string notes = (home() / "notes.txt").string();
    std::ofstream(notes) << "x";
    std::filesystem::create_directories(home() / "Desktop");
    const std::vector<std::pair<const char*, std::string>> entries = {
        {"app", R"("kind":"application","target":"/Applications/Old Mail.app","bundleIdentifier":"com.example.mail")"},
        {"site", R"("kind":"website","target":"https://example.com/a")"},
        {"hand-edited file scheme", R"("kind":"website","target":"file:///etc/hosts")"},
        {"custom scheme", R"("kind":"website","target":"mailto://someone@example.com")"},
        {"no address", R"("kind":"website","target":"not an address")"},
        {"snippet", R"("kind":"information","target":"hello")"},
        {"notes", R"("kind":"file","target":")" + notes + R"(")"},
        {"new", R"("kind":"newFile","target":"")"},
    };
    std::string json = "[";
    std::map<std::string, std::string> ids;
    for (const auto& [name, fields] : entries) {
        ids[name] = platform::Uuid::random().uuidString();
        json += std::string(json.size() > 1 ? "," : "") + R"({"id":")" + ids[name] + R"(","name":")" + name + "\"," +
                fields + "}";
    }
    storeList(json + "]");
    std::vector<std::string> messages;
    panel().onAction = [&](const std::string& text) { messages.push_back(text); };
    auto& workspace = platform::Workspace::shared();
    auto& pasteboard = platform::Pasteboard::general();

    struct Case {
        const char* tile;
        std::vector<std::string> applications;
        std::vector<std::string> urls;
        std::optional<std::string> pasteboard;
        std::vector<std::string> messages;
    } cases[] = {
        {"app", {"/Applications/Mail.app"}, {}, std::nullopt, {}},
        {"site", {}, {"https://example.com/a"}, std::nullopt, {}},
        {"hand-edited file scheme", {}, {}, std::nullopt, {}},
        {"custom scheme", {}, {}, std::nullopt, {}},
        {"no address", {}, {}, std::nullopt, {}},
        {"snippet", {}, {}, "hello", {}},
        {"notes", {}, {"file://" + notes}, std::nullopt, {}},
        {"new", {}, {}, std::nullopt, {"已在桌面创建文件：new.txt"}},
        {"new", {}, {}, std::nullopt, {"已在桌面创建文件：new (1).txt"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tile);
        pasteboard.clearContents();
        const auto applicationsBefore = workspace.openedApplications();
        const auto urlsBefore = workspace.openedURLs();
        messages.clear();
        ASSERT_TRUE(panel().show({700, 600}, setup.primaryScreen(), Trigger::menuBarDoubleClick));
        click(ids[c.tile]);
        EXPECT_FALSE(panel().panel()->isVisible()) << "a used tile hides the panel";
        EXPECT_EQ(std::vector(workspace.openedApplications().begin() + applicationsBefore.size(),
                              workspace.openedApplications().end()),
                  c.applications);
        EXPECT_EQ(std::vector(workspace.openedURLs().begin() + urlsBefore.size(), workspace.openedURLs().end()), c.urls);
        EXPECT_EQ(pasteboard.string(), c.pasteboard);
        EXPECT_EQ(messages, c.messages);
    }
    EXPECT_TRUE(std::filesystem::exists(home() / "Desktop/new.txt"));
    EXPECT_TRUE(std::filesystem::exists(home() / "Desktop/new (1).txt"));
}

TEST_F(QuickLaunchPanelTest, ATileWhoseEntryHasGoneDoesNothingAndThePanelStays) {
    const std::string id = platform::Uuid::random().uuidString();
    storeList(R"([{"id":")" + id + R"(","kind":"website","name":"n","target":"https://example.com"}])");
    ASSERT_TRUE(panel().show({700, 600}, setup.primaryScreen(), Trigger::menuBarDoubleClick));
    ASSERT_TRUE(panel().store()->deleteEntry(*platform::Uuid::fromString(id)).ok());
    click(id);
    EXPECT_TRUE(panel().panel()->isVisible());
    EXPECT_TRUE(platform::Workspace::shared().openedURLs().empty());
}

TEST_F(QuickLaunchPanelTest, CornerButtonsAndTheAddMenuHideThePanelBeforeCalling) {
    std::vector<std::string> calls;
    panel().onOpenSettings = [&] { calls.push_back(panel().panel()->isVisible() ? "settings, shown" : "settings"); };
    panel().onAddApplication = [&] { calls.push_back(panel().panel()->isVisible() ? "app, shown" : "app"); };
    ASSERT_TRUE(panel().show({700, 600}, setup.primaryScreen(), Trigger::menuBarDoubleClick));
    click("addOverlay");
    ASSERT_NE(panel().addMenu(), nullptr);
    EXPECT_TRUE(panel().addMenu()->isOpen());
    EXPECT_TRUE(panel().panel()->isVisible()) << "the menu opens over the panel";
    const auto items = panel().addMenu()->items();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0]->title(), "应用");
    EXPECT_EQ(items[1]->title(), "网页");
    EXPECT_EQ(items[2]->title(), "信息");
    items[0]->action(*items[0]);
    EXPECT_FALSE(panel().panel()->isVisible());

    ASSERT_TRUE(panel().show({700, 600}, setup.primaryScreen(), Trigger::menuBarDoubleClick));
    click("openSettings");
    EXPECT_EQ(calls, (std::vector<std::string>{"app", "settings"}));
}

}  // namespace
}  // namespace tallowmere
